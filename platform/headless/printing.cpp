// Records printed for test failure messages.
#include "platform/headless/headless.h"

namespace headless {

std::ostream& operator<<(std::ostream& out, const ShownBox& box) {
    return out << "box{caption \"" << box.caption << "\", text \"" << box.text << "\", type "
               << box.type << ", owner " << box.owner << ", answer " << box.answer << "}";
}

std::ostream& operator<<(std::ostream& out, const Timer& timer) {
    return out << "timer{" << timer.id << ", " << timer.periodMs << " ms}";
}

std::ostream& operator<<(std::ostream& out, const MenuItem& item) {
    return out << "item{flags " << item.flags << ", id " << item.id << ", \"" << item.text << "\"}";
}

std::ostream& operator<<(std::ostream& out, const DrawnIcon& drawn) {
    return out << "icon{hdc " << drawn.hdc << ", at " << drawn.x << "," << drawn.y << ", "
               << drawn.icon << "}";
}

std::ostream& operator<<(std::ostream& out, const SentMessage& sent) {
    return out << "message{" << sent.message << ", " << sent.wParam << ", " << sent.lParam << "}";
}

}  // namespace headless
