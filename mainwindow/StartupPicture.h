#pragma once

#include "platform/Form.h"

namespace brenvik {

// `mainform`: the borderless start-up picture, shown for three seconds with a beep.
class StartupPicture : public Form {
public:
    explicit StartupPicture(Platform& platform);

protected:
    void Form_Activate() override;
    void design() override;
};

} // namespace brenvik
