#include "platform/UserDialogs.h"

namespace platform {

DialogAnswer DefaultAnswer(DialogButtons buttons) {
    return buttons == DialogButtons::OkCancel ? DialogAnswer::Ok : DialogAnswer::Yes;
}

}  // namespace platform
