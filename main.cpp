// Entry point: builds the one acquisition state and runs the start-up in the
// folder the program was started from.
#include <QApplication>
#include <QDir>
#include <cstdio>

#include "engine/AcquisitionState.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vantrel::AcquisitionState state;
    state.AppDir = QDir::toNativeSeparators(QDir::currentPath()).toStdString();
    std::printf("Vantrel: ports COM%d and COM%d, folder %s\n", state.ComPort1, state.ComPort2,
                state.AppDir.c_str());
    return 0;
}
