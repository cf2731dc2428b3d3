#pragma once

// Until the undo history reaches this branch: calls TakeSnapshot when the
// controller has it. Removed once it is merged.
template <class TController>
void TakeSnapshotOn(TController& controller)
{
    if constexpr (requires { controller.TakeSnapshot(); })
        controller.TakeSnapshot();
}
