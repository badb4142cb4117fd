// The error log and FatalError.
#include "game/text/ErrorLog.h"

#include "platform/Files.h"

#include <cstdio>
#include <cstdlib>

namespace Vel {
namespace {

FatalExitHandler g_exitHandler = nullptr;

} // namespace

std::string ErrorLogPath() { return Plat::UserDataDir() + "/error.log"; }

bool WriteErrorLog(std::string_view message)
{
    Plat::MakeDirs(Plat::UserDataDir());
    return Plat::WriteFileAtomically(ErrorLogPath(), message).ok;
}

void FatalError(std::string_view message)
{
    WriteErrorLog(message);
    std::fprintf(stderr, "Quorvane: fatal error: %.*s\n", int(message.size()), message.data());
    std::fflush(stderr);
    if (g_exitHandler)
        g_exitHandler(kFatalExitCode);
    std::_Exit(kFatalExitCode);
}

FatalExitHandler SetFatalExitHandler(FatalExitHandler handler)
{
    FatalExitHandler previous = g_exitHandler;
    g_exitHandler = handler;
    return previous;
}

} // namespace Vel
