#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

namespace brenvik {

// `nomefile`: asks the name of the file a join creates. Loaded hidden with the main window and
// never unloaded, so `nf` keeps the name last typed or proposed from one join to the next. `ok`
// hides it; closing it from its frame hides it too and marks the join as cancelled.
class NameDialog : public Form {
public:
    explicit NameDialog(Platform& platform);

    Label& Label1;
    TextBox& nf;
    CommandButton& ok;

    void ok_Click();

    // True when the last showing ended through the window frame rather than `ok`.
    bool cancelled() const { return cancelled_; }

protected:
    void Form_Activate() override;
    void Form_QueryUnload(bool& cancel) override;
    void design() override;

private:
    bool cancelled_ = false;
};

} // namespace brenvik
