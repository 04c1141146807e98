#include "report/ReportTemplate.h"

#include "data/UserError.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>

#include <kainjow/mustache.hpp>

#include <algorithm>
#include <stdexcept>

namespace {

using Data = kainjow::mustache::data;

// Values reach the HTML escaped, whatever braces the template puts around them, so no
// customer's text can turn into markup; a line break of a memo stays a line break.
std::string htmlValue(const QString& value) {
    QString v = value.toHtmlEscaped();
    v.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    v.replace(u'\r', u'\n');
    v.replace(QStringLiteral("\n"), QStringLiteral("<br>"));
    return v.toStdString();
}

Data valueData(const QString& value) {
    // An empty value is false, so that {{#X}}...{{/X}} and {{^X}}...{{/X}} can test it.
    return value.isEmpty() ? Data(false) : Data(htmlValue(value));
}

// UTF-8, with or without a byte order mark; a file saved by an editor in the Greek
// Windows code page is read in that.
QString decodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        QStringDecoder greek("windows-1253");
        if (greek.isValid())
            text = greek.decode(bytes);
    }
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    return text;
}

// {{#MonthName}}{{MONTH}}{{/MonthName}}: "3" becomes "Μάρτιος"; anything but a month
// number is written as it is.
std::string monthName(const std::string& text, const kainjow::mustache::renderer& render) {
    const QString shown = QString::fromStdString(render(text)).trimmed();
    // Digits only: the number reader would stop at a NUL and take "4\0x" for April.
    const bool digits = !shown.isEmpty() && std::all_of(shown.begin(), shown.end(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
    bool ok = false;
    const int month = digits ? shown.toInt(&ok) : 0;
    if (!ok || month < 1 || month > 12)
        return shown.toStdString();
    return htmlValue(QLocale(QLocale::Greek).standaloneMonthName(month, QLocale::LongFormat));
}

} // namespace

QString ReportTemplate::missingFileMessage(const QString& path) {
    return QStringLiteral("The following reporting project does not exist:\r\"%1\"").arg(path);
}

ReportTemplate::ReportTemplate(const QString& text, const QString& path)
    : m_text(text), m_path(path) {}

ReportTemplate ReportTemplate::load(const QString& path) {
    const QFileInfo info(path);
    const QString full = info.isAbsolute() ? path : info.absoluteFilePath();
    if (!info.isFile())
        throw UserError(missingFileMessage(full));
    QFile file(full);
    if (!file.open(QIODevice::ReadOnly))
        throw UserError(
            QStringLiteral("Το αρχείο της εκτύπωσης δεν διαβάζεται:\r\"%1\"").arg(full));
    return ReportTemplate(decodeText(file.readAll()), full);
}

QSet<QString> ReportTemplate::referencedNames() const {
    static const QRegularExpression tag(
        QStringLiteral("\\{\\{\\{?\\s*[#^/&]?\\s*([A-Za-z_][A-Za-z0-9_]*)"));
    QSet<QString> names;
    for (auto it = tag.globalMatch(m_text); it.hasNext();)
        names.insert(it.next().captured(1));
    return names;
}

QPageLayout::Orientation ReportTemplate::orientation() const {
    static const QRegularExpression meta(
        QStringLiteral("<meta\\s+name\\s*=\\s*\"orientation\"\\s+content\\s*=\\s*\"landscape\""),
        QRegularExpression::CaseInsensitiveOption);
    return meta.match(m_text).hasMatch() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QString ReportTemplate::render(const QList<ReportTable>& tables, const QDate& printDate,
                               const QMap<QString, QString>& params) const {
    Data root;
    Data counts;
    for (const ReportTable& t : tables) {
        Data list(Data::type::list);
        int recNo = 0;
        for (const QStringList& row : t.rows) {
            Data item;
            for (int c = 0; c < t.columns.size(); ++c)
                item.set(t.columns.at(c).toStdString(), valueData(row.value(c)));
            item.set("RecNo", Data(std::to_string(++recNo)));
            list.push_back(item);
        }
        root.set(t.name.toStdString(), list);
        counts.set(t.name.toStdString(), Data(std::to_string(t.rows.size())));
    }
    root.set("RecordCount", counts);
    root.set("PrintDate", Data(printDate.toString(QStringLiteral("d/M/yyyy")).toStdString()));
    Data handedOver;
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        handedOver.set(it.key().toStdString(), valueData(it.value()));
    root.set("Param", handedOver);
    root.set("MonthName", Data(kainjow::mustache::lambda2(monthName)));

    kainjow::mustache::mustache tmpl(m_text.toStdString());
    tmpl.set_custom_escape([](const std::string& s) { return s; });
    std::string out;
    if (tmpl.is_valid())
        out = tmpl.render(root);
    if (!tmpl.is_valid())
        throw UserError(QStringLiteral("Το αρχείο της εκτύπωσης έχει λάθος:\r\"%1\"\r%2")
                            .arg(m_path, QString::fromStdString(tmpl.error_message())));
    return QString::fromStdString(out);
}
