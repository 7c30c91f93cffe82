// Entry point: builds the one acquisition state and runs the start-up in the
// folder the program was started from.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/AcquisitionState.h"
#include "engine/StartUp.h"

int main() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (error) {
        std::fprintf(stderr, "Vantrel: cannot determine the start folder: %s\n",
                     error.message().c_str());
        return 1;
    }
    vantrel::AcquisitionState state;
    const vantrel::StartUpResult result = vantrel::RunStartUp(state, folder.string());
    if (!result.ok) {
        std::fprintf(stderr, "Vantrel cannot start: %s\n", result.error.c_str());
        return 1;
    }
    if (!result.warning.empty()) {
        std::fprintf(stderr, "Vantrel: %s\n", result.warning.c_str());
    }
    std::printf("Vantrel: ports COM%d and COM%d, folder %s\n", state.ComPort1, state.ComPort2,
                state.AppDir.c_str());
    return 0;
}
