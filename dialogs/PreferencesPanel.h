#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

namespace brenvik {

class GuideWindow;

// `helpfrm`: the three preferences and the way to the guide.
class PreferencesPanel : public Form {
public:
    PreferencesPanel(Platform& platform, GuideWindow& guida);

    Frame& Frame1;
    CheckBox& cartsplit;
    CheckBox& cartunisci;
    CheckBox& about;
    Image& Image1;
    Frame& Frame2;
    CommandButton& help;
    Image& Image2;
    CommandButton& Command1;
    CommandButton& Command2;
    CommandButton& focus;

    void Command1_Click();
    void Command2_Click();
    void help_Click();

protected:
    void Form_Activate() override;
    void design() override;

private:
    GuideWindow& guida_;
};

} // namespace brenvik
