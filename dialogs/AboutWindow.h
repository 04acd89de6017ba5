#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

namespace brenvik {

// `aboutform`: types its text out at every opening.
class AboutWindow : public Form {
public:
    // `banner` is the main window's banner, whose picture is copied at load.
    AboutWindow(Platform& platform, const Image& banner);

    Image& Image1;
    TextBox& Text;
    PictureBox& Picture1;
    CommandButton& ok;

    // The text typed out: product and version, author, company, contact, terms and the slogan,
    // lines joined by CR LF.
    static const char* const AboutText;

    void ok_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void design() override;

private:
    const Image& banner_;
};

} // namespace brenvik
