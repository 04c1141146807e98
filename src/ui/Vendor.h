#pragma once

#include <QString>
#include <QUrl>

// The maker's addresses, opened from the main and about windows.
namespace Vendor {
inline QString webSiteText() {
    return QStringLiteral("www.marivelle.example");
}
inline QUrl webSite() {
    return QUrl(QStringLiteral("https://www.marivelle.example/"));
}
inline QString emailAddress() {
    return QStringLiteral("info@marivelle.example");
}
inline QUrl emailUrl() {
    return QUrl(QStringLiteral("mailto:") + emailAddress());
}
inline QString version() {
    return QStringLiteral("Version 2.0.0");
}
} // namespace Vendor
