#include "core/ModalInput.h"

namespace loafix {

ModalInput::ModalInput(const std::vector<Hwnd>& forms, Windows windows)
    : windows_(std::move(windows)) {
  for (Hwnd form : forms) {
    if (!windows_.enabled(form)) continue;
    windows_.enable(form, false);
    disabled_.push_back(form);
  }
}

ModalInput::~ModalInput() {
  for (Hwnd form : disabled_) windows_.enable(form, true);
}

}  // namespace loafix
