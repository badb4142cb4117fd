// qvcontent: "generate DIR" writes the game's data tree, "stamp DIR" makes file times repeatable,
// "contactsheet DIR" draws pages showing every image and font.
#include <cstdio>
#include <cstring>
#include <string>

#include "Generator.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: qvcontent generate|stamp|contactsheet <folder>\n");
        return 2;
    }
    const std::string command = argv[1], dir = argv[2];
    std::string error;
    bool ok = false;
    if (command == "generate")
        ok = Content::GenerateAll(dir, error) && Content::StampTimes(dir, error);
    else if (command == "stamp")
        ok = Content::StampTimes(dir, error);
    else if (command == "contactsheet")
        ok = Content::DrawContactSheet(dir, error);
    else
        error = "unknown command " + command;
    if (!ok) {
        std::fprintf(stderr, "qvcontent: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
