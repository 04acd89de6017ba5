#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

namespace brenvik {

// `install`: the preparation window of a first run; plays its captions and unloads itself.
class InstallWindow : public Form {
public:
    explicit InstallWindow(Platform& platform);

    Label& Label1;
    Image& Image1;

protected:
    void Form_Activate() override;
    void design() override;
};

} // namespace brenvik
