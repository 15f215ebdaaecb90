#include "ui/controls/TextUI.h"

namespace SkinUI {

CTextUI::CTextUI() { SetTextStyle(kTextLeft | kTextTop | kTextWordBreak); }

}  // namespace SkinUI
