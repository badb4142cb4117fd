// Program entry: one application, started, run and destroyed; its exit code is the program's.
#include "framework/app/CommandLine.h"
#include "game/shell/GameApp.h"
#include "platform/Backend.h"

#include <cstdio>
#include <memory>
#include <string>

int main(int argc, char** argv)
{
    std::string error;
    std::unique_ptr<Plat::Backend> backend = Plat::CreateSdlBackend(error);
    if (!backend) {
        std::fprintf(stderr, "Quorvane: cannot start: %s\n", error.c_str());
        return Vel::kExitFailure;
    }
    int exitCode = Vel::kExitSuccess;
    {
        Vel::GameApp app;
        app.SetBackend(std::move(backend));
        app.SetCommandLine(Vel::JoinCommandLine(argc, argv));
        app.Init();
        app.Start();
        exitCode = app.GetExitCode();
    }
    return exitCode;
}
