#include "logging/RecordsFlow.h"

#include "engine/CardView.h"

namespace vantrel {

bool RecordsAreBeingWritten(const AcquisitionState& state) {
    const ConstCardView card1 = CardOf(state, 0);
    // A card whose port went away or that has not answered since it came back
    // holds the values from before the loss; a running card whose frames stopped
    // holds old ones. Writing either again would pass copies off as measurements.
    return state.Saving && card1.CardConnected && !card1.PortLost && !card1.AwaitingAnswer &&
           !card1.valuesStale();
}

}  // namespace vantrel
