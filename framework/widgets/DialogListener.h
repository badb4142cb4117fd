// Receives the buttons of a dialog, tagged with the dialog's id.
#pragma once

namespace Vel {

class DialogListener {
public:
    virtual ~DialogListener() = default;

    virtual void OnDialogButtonPress(int dialogId, int buttonId)
    {
        (void)dialogId;
        (void)buttonId;
    }
    // `result` is the id of the button that was clicked (Dialog::kIdYes or Dialog::kIdNo).
    virtual void OnDialogButtonClick(int dialogId, int result)
    {
        (void)dialogId;
        (void)result;
    }
};

} // namespace Vel
