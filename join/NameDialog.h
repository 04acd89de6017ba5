#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

namespace brenvik {

// `nomefile`: asks the name of the file a join creates. Hidden by `ok`; closing it from its
// frame hides it too and marks the join as cancelled, so `nf` keeps its text either way.
class NameDialog : public Form {
public:
    explicit NameDialog(Platform& platform);

    Label& Label1;
    TextBox& nf;
    CommandButton& ok;

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
