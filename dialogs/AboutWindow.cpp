#include "dialogs/AboutWindow.h"

#include "platform/Desktop.h"
#include "platform/Platform.h"
#include "platform/Utf8.h"

namespace brenvik {

// Short lines: the box draws each line as it is, without wrapping it.
const char* const AboutWindow::AboutText = "Brenvik® 1.0\r\n"
                                           "\r\n"
                                           "Autore: Staff di sviluppo Brenvik\r\n"
                                           "Società: Tavora\r\n"
                                           "Contatti: info@tavora.example\r\n"
                                           "Condizioni d'uso: Brenvik è gratuito e\r\n"
                                           "può essere copiato e distribuito\r\n"
                                           "liberamente, purché non venga modificato\r\n"
                                           "né venduto. È fornito così com'è, senza\r\n"
                                           "garanzie di alcun tipo: l'autore non\r\n"
                                           "risponde di danni o perdite di dati.\r\n"
                                           "\r\n"
                                           "Tavora [Dividi, spedisci, ricomponi]";

AboutWindow::AboutWindow(Platform& platform, const Image& banner)
    : Form(platform, "aboutform"), Image1(add<Image>("Image1")), Text(add<TextBox>("Text")),
      Picture1(add<PictureBox>("Picture1")), ok(add<CommandButton>("ok")), banner_(banner) {
    ok.onClick = [this] { ok_Click(); };
    setStacking({&ok, &Picture1, &Text, &Image1});
    setTabOrder({&ok});
    applyDesign();
}

void AboutWindow::design() {
    setWindow("------------------------[About Tavora]-------------------------", BorderStyle::FixedSingle, 4305, 4440);
    setIcon("brenvik");

    Image1.setGeometry({120, 120, 2730, 615});
    Image1.setPicture("");
    Text.setGeometry({120, 900, 3915, 2835});
    Text.setMultiLine(true);
    Text.setText(AboutText);
    Text.setVisible(false);
    Picture1.setGeometry({180, 900, 3915, 2895});
    Picture1.cls();
    ok.setCaption("OK");
    ok.setGeometry({1380, 3900, 1575, 435});
    ok.setEnabled(true);
}

void AboutWindow::Form_Load() {
    Image1.setPicture(banner_.picture());
}

void AboutWindow::Form_Activate() {
    ok.setEnabled(false);
    // Every opening starts from a blank box, even for a text with nothing to type.
    Picture1.cls();
    const std::string text = Text.text();
    const size_t length = utf8::length(text);
    Desktop& d = platform().desktop;
    for (size_t i = 1; i <= length; ++i) {
        d.yield();
        d.pause(25);
        d.yield();
        // Closed from its frame meanwhile: drawing would only load it again, hidden.
        if (!visible())
            return;
        Picture1.cls();
        Picture1.print(utf8::left(text, i));
    }
    ok.setEnabled(true);
    // Its one button, usable now: Enter or Space closes the window, as in the system's dialogs.
    ok.setFocus();
}

void AboutWindow::ok_Click() {
    hide();
}

} // namespace brenvik
