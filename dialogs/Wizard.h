#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

#include <cstdint>

namespace brenvik {

// `wizard`: the first-run pages, the destination folder and the first-run marker.
class Wizard : public Form {
public:
    explicit Wizard(Platform& platform);

    Label& Label1;
    Label& Label2;
    Label& Label3;
    Label& Label4;
    Label& Label5;
    Label& Label6;
    TextBox& dest;
    Label& Label7;
    Label& Label8;
    CommandButton& avanti;
    CommandButton& fine;
    CommandButton& focus;
    Image& Image1;
    Shape& Line1;
    Shape& Line2;

    uint8_t pagina = 0;

    void avanti_Click();
    void fine_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void design() override;

private:
    // The labels of the four pages, each tagged with its page; the first page's shown.
    void designPages();
};

} // namespace brenvik
