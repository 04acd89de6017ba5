#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

namespace brenvik {

// `optionsfrm`: chooses, resets and stores the destination folder. Hidden, not unloaded, by its
// buttons, so `outputdir` is live state that the split reads.
class DestinationDialog : public Form {
public:
    explicit DestinationDialog(Platform& platform);

    Frame& Frame2;
    TextBox& outputdir;
    CommandButton& ok;
    CommandButton& annulla;
    CommandButton& reset;
    Image& Image1;

    void ok_Click();
    void annulla_Click();
    void reset_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void design() override;

private:
    // The opening animation: 22 steps from nothing to the full outer size, yielding at each.
    void grow();
};

} // namespace brenvik
