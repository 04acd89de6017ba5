#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

namespace brenvik {

// `guida`: the help text; the user closes it from its title bar, which unloads it.
class GuideWindow : public Form {
public:
    explicit GuideWindow(Platform& platform);

    TextBox& Text1;

    // The help text, lines ending in CR LF.
    static const char* const HelpText;

protected:
    void design() override;
};

} // namespace brenvik
