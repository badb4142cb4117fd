// pakbuild <input folder> <output file>: packs every file below the folder into one archive.
#include <cstdio>
#include <string>

#include "tools/pak/PakBuilder.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: pakbuild <input folder> <output file>\n");
        return 2;
    }
    std::string error;
    if (!PakTool::BuildPak(argv[1], argv[2], error)) {
        std::fprintf(stderr, "pakbuild: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
