#pragma once

#include "platform/Form.h"

#include <QWidget>
#include <map>
#include <memory>
#include <vector>

namespace brenvik {

class QtControlView;

// The top-level window of one Form, built from the model alone: one QtControlView per control
// (containers are parent widgets), stacked as Form::stacking() says, in Form::tabOrder()'s tab
// order, with the form's caption, icon, border style and background picture. Its size is fixed:
// the inner area that the form's outer size leaves once the frame is taken off, at least one
// pixel each way (windows can grow from almost nothing).
//
// Closing it from its frame asks the model (Form::userClose) and otherwise does nothing: the
// model hides or unloads the window, and the desktop follows. The view never touches the model
// when it is destroyed; the program keeps its views until it ends.
class QtFormView : public QWidget, public FormView {
public:
    explicit QtFormView(Form& form);
    ~QtFormView() override;

    Form& form() const { return form_; }
    // The widget of a control of this form; null for a control of another form.
    QWidget* widgetOf(const Control& control) const;

    // Shows the window; the first time it is centred on the screen at the size it was designed.
    void present();

    void formChanged(Property what) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void applyWindowLook();
    void applySize();
    void applyFocus();

    Form& form_;
    std::vector<std::unique_ptr<QtControlView>> views_;
    std::map<const Control*, QtControlView*> byControl_;
    bool placed_ = false;
};

} // namespace brenvik
