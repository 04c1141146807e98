#include "SheetFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <stdexcept>

namespace {

// Debian's own interpreter, where python3-openpyxl is installed.
const QString kPython = QStringLiteral("/usr/bin/python3");

const char* const kReadXlsx = R"PY(
import datetime, json, sys, zipfile
import openpyxl
from openpyxl.utils import get_column_letter

path = sys.argv[1]
book = openpyxl.load_workbook(path)
sheet = book.worksheets[0]

def cell(c):
    v = c.value
    if v is None:
        kind, value = 'empty', ''
    elif isinstance(v, bool):
        kind, value = 'bool', str(v)
    elif isinstance(v, datetime.datetime):
        kind = 'date'
        value = v.date().isoformat() if v.time() == datetime.time(0) else v.isoformat()
    elif isinstance(v, (int, float)):
        kind, value = 'number', repr(v)
    elif c.data_type == 'f':
        kind, value = 'formula', v
    else:
        kind, value = 'text', v
    return {'kind': kind, 'value': value, 'format': c.number_format,
            'bold': bool(c.font is not None and c.font.b)}

with zipfile.ZipFile(path) as z:
    xml = z.read('xl/worksheets/sheet1.xml').decode('utf-8')
print(json.dumps({
    'sheets': book.sheetnames,
    'title': book.properties.title or '',
    'frozen': sheet.freeze_panes or '',
    'widths': [sheet.column_dimensions[get_column_letter(i + 1)].width or 0
               for i in range(sheet.max_column)],
    'formulas': xml.count('<f>') + xml.count('<f '),
    'rows': [[cell(c) for c in row] for row in sheet.iter_rows()],
}))
)PY";

const char* const kReadOds = R"PY(
import json, sys, zipfile
import xml.etree.ElementTree as ET

NS = {
    'table': 'urn:oasis:names:tc:opendocument:xmlns:table:1.0',
    'office': 'urn:oasis:names:tc:opendocument:xmlns:office:1.0',
    'text': 'urn:oasis:names:tc:opendocument:xmlns:text:1.0',
    'dc': 'http://purl.org/dc/elements/1.1/',
}
def q(prefix, name):
    return '{%s}%s' % (NS[prefix], name)

with zipfile.ZipFile(sys.argv[1]) as z:
    content = ET.fromstring(z.read('content.xml'))
    meta = ET.fromstring(z.read('meta.xml'))
tables = content.findall('.//table:table', NS)
title = meta.find('.//dc:title', NS)

def shown(cell):
    return '\n'.join(''.join(p.itertext()) for p in cell.findall('text:p', NS))

def read(cell):
    kind = cell.get(q('office', 'value-type'))
    if kind in ('float', 'currency', 'percentage'):
        value = float(cell.get(q('office', 'value')))
        return {'kind': 'number', 'value': repr(int(value) if value.is_integer() else value),
                'format': shown(cell), 'bold': False}
    if kind == 'date':
        return {'kind': 'date', 'value': cell.get(q('office', 'date-value')).split('T')[0],
                'format': shown(cell), 'bold': False}
    if kind == 'string':
        return {'kind': 'text', 'value': shown(cell), 'format': shown(cell), 'bold': False}
    return {'kind': 'empty', 'value': '', 'format': '', 'bold': False}

rows = []
for row in tables[0].findall('table:table-row', NS):
    cells = []
    for cell in row:
        if cell.tag not in (q('table', 'table-cell'), q('table', 'covered-table-cell')):
            continue
        repeat = int(cell.get(q('table', 'number-columns-repeated'), '1'))
        cells.extend([read(cell)] * min(repeat, 64))
    while cells and cells[-1]['kind'] == 'empty':
        cells.pop()
    repeat = int(row.get(q('table', 'number-rows-repeated'), '1'))
    rows.extend([cells] * min(repeat, 64))
while rows and not rows[-1]:
    rows.pop()
print(json.dumps({
    'sheets': [t.get(q('table', 'name')) for t in tables],
    'title': title.text if title is not None else '',
    'frozen': '', 'widths': [], 'formulas': -1, 'rows': rows,
}))
)PY";

SheetFile run(const char* script, const QString& path) {
    QProcess p;
    p.start(kPython, {QStringLiteral("-c"), QString::fromUtf8(script), path});
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw std::runtime_error("python3 could not read " + path.toStdString() + ": " +
                                 p.readAllStandardError().toStdString());
    const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    SheetFile file;
    for (const QJsonValue& s : o.value(QStringLiteral("sheets")).toArray())
        file.sheets << s.toString();
    file.title = o.value(QStringLiteral("title")).toString();
    file.frozen = o.value(QStringLiteral("frozen")).toString();
    for (const QJsonValue& w : o.value(QStringLiteral("widths")).toArray())
        file.widths << w.toDouble();
    file.formulas = o.value(QStringLiteral("formulas")).toInt();
    for (const QJsonValue& row : o.value(QStringLiteral("rows")).toArray()) {
        QList<SheetCell> cells;
        for (const QJsonValue& v : row.toArray()) {
            const QJsonObject c = v.toObject();
            cells << SheetCell{c.value(QStringLiteral("kind")).toString(),
                               c.value(QStringLiteral("value")).toString(),
                               c.value(QStringLiteral("format")).toString(),
                               c.value(QStringLiteral("bold")).toBool()};
        }
        file.rows << cells;
    }
    return file;
}

} // namespace

QString SheetFile::text() const {
    QStringList lines;
    for (const QList<SheetCell>& row : rows) {
        QStringList cells;
        for (const SheetCell& c : row) {
            QString t = c.kind == u"number" ? u'#' + c.value
                        : c.kind == u"date" ? u'@' + c.value
                                            : c.value;
            if (c.bold && !t.isEmpty())
                t.prepend(u'*');
            cells << t;
        }
        lines << cells.join(u'|');
    }
    return lines.join(u';');
}

SheetFile readXlsx(const QString& path) {
    return run(kReadXlsx, path);
}

SheetFile readOds(const QString& path) {
    return run(kReadOds, path);
}
