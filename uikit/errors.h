// One way to run an operation whose errors are shown and then left behind:
// the error's text goes to a message box, and the caller learns that the
// operation did not complete.
#pragma once

#include <QString>
#include <exception>
#include <utility>

#include "uikit/messagebox.h"

namespace uikit {

template <typename Operation>
bool report_errors(Operation&& operation)
{
    try {
        std::forward<Operation>(operation)();
        return true;
    } catch (const std::exception& e) {
        report_error(QString::fromUtf8(e.what()));
    }
    return false;
}

}  // namespace uikit
