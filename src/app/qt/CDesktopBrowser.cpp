// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CDesktopBrowser.h"

#include <QDesktopServices>
#include <QUrl>

namespace kelo {

bool CDesktopBrowser::Open(const std::string& address) {
    const QUrl url(QString::fromStdString(address));
    return url.isValid() && QDesktopServices::openUrl(url);
}

CDesktopBrowser& CDesktopBrowser::Instance() {
    static CDesktopBrowser browser;
    return browser;
}

} // namespace kelo
