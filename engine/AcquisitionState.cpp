#include "engine/AcquisitionState.h"

namespace vantrel {

AcquisitionState::AcquisitionState() {
#ifdef _WIN32
    LogFileName = "D:\\test.csv";
#else
    LogFileName = "test.csv";
#endif
    for (int s = 0; s < kUsedChannels; ++s) {
        InputRange[s] = 10.0;
        CalSpan10V[s] = 32000;
        CalSpan200mV[s] = 32000;
        CalRTD[s] = 13000;
        ChannelName[s] = "Channel " + std::to_string(s);
    }
}

}  // namespace vantrel
