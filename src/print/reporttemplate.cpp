#include "reporttemplate.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {
struct TplNamePair
{
    int value;
    const char* name;
};

const TplNamePair kTplObjectTypes[] = {{ReportObject::Text, "text"}, {ReportObject::Line, "line"},
    {ReportObject::Rect, "rect"}, {ReportObject::Picture, "picture"}, {ReportObject::CheckBox, "checkbox"}};

const TplNamePair kTplBandTypes[] = {{ReportBand::ReportTitle, "ReportTitle"}, {ReportBand::PageHeader, "PageHeader"},
    {ReportBand::DataHeader, "DataHeader"}, {ReportBand::MasterData, "MasterData"},
    {ReportBand::DetailData, "DetailData"}, {ReportBand::GroupHeader, "GroupHeader"},
    {ReportBand::GroupFooter, "GroupFooter"}, {ReportBand::DataFooter, "DataFooter"}, {ReportBand::Summary, "Summary"},
    {ReportBand::PageFooter, "PageFooter"}};

QString tplNumber(double v)
{
    return QString::number(v, 'g', 10);
}

QString tplFrameText(int frame)
{
    if (frame == ReportObject::FrameAll)
        return QStringLiteral("all");
    QStringList parts;
    if (frame & ReportObject::FrameLeft)
        parts << QStringLiteral("left");
    if (frame & ReportObject::FrameTop)
        parts << QStringLiteral("top");
    if (frame & ReportObject::FrameRight)
        parts << QStringLiteral("right");
    if (frame & ReportObject::FrameBottom)
        parts << QStringLiteral("bottom");
    return parts.join(QLatin1Char(','));
}

int tplFrameFromText(const QString& text)
{
    int f = 0;
    for (const QString& p : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString s = p.trimmed().toLower();
        if (s == QLatin1String("all"))
            f |= ReportObject::FrameAll;
        else if (s == QLatin1String("left"))
            f |= ReportObject::FrameLeft;
        else if (s == QLatin1String("top"))
            f |= ReportObject::FrameTop;
        else if (s == QLatin1String("right"))
            f |= ReportObject::FrameRight;
        else if (s == QLatin1String("bottom"))
            f |= ReportObject::FrameBottom;
    }
    return f;
}

QString tplHAlignText(Qt::Alignment a)
{
    if (a & Qt::AlignHCenter)
        return QStringLiteral("center");
    if (a & Qt::AlignRight)
        return QStringLiteral("right");
    if (a & Qt::AlignJustify)
        return QStringLiteral("justify");
    return QStringLiteral("left");
}

Qt::Alignment tplHAlignFromText(const QString& s)
{
    if (s == QLatin1String("center"))
        return Qt::AlignHCenter;
    if (s == QLatin1String("right"))
        return Qt::AlignRight;
    if (s == QLatin1String("justify"))
        return Qt::AlignJustify;
    return Qt::AlignLeft;
}

QString tplVAlignText(Qt::Alignment a)
{
    if (a & Qt::AlignTop)
        return QStringLiteral("top");
    if (a & Qt::AlignBottom)
        return QStringLiteral("bottom");
    return QStringLiteral("center");
}

Qt::Alignment tplVAlignFromText(const QString& s)
{
    if (s == QLatin1String("top"))
        return Qt::AlignTop;
    if (s == QLatin1String("bottom"))
        return Qt::AlignBottom;
    return Qt::AlignVCenter;
}

bool tplBool(const QXmlStreamAttributes& a, const char* name, bool def)
{
    const QString v = a.value(QLatin1String(name)).toString();
    if (v.isEmpty())
        return def;
    return v == QLatin1String("1") || v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

double tplDouble(const QXmlStreamAttributes& a, const char* name, double def)
{
    bool ok = false;
    const double v = a.value(QLatin1String(name)).toDouble(&ok);
    return ok ? v : def;
}

bool tplObjectEquals(const ReportObject& a, const ReportObject& b)
{
    return a.type == b.type && a.name == b.name && a.geometry == b.geometry && a.text == b.text
        && a.fontFamily == b.fontFamily && a.fontSize == b.fontSize && a.bold == b.bold && a.italic == b.italic
        && a.underline == b.underline && a.color == b.color && a.fill == b.fill && a.frame == b.frame
        && a.frameWidth == b.frameWidth && a.hAlign == b.hAlign && a.vAlign == b.vAlign && a.wordWrap == b.wordWrap
        && a.stretch == b.stretch && a.format == b.format && a.picture == b.picture;
}
} // namespace

QString ReportObject::typeName(Type t)
{
    for (const auto& p : kTplObjectTypes)
        if (p.value == t)
            return QLatin1String(p.name);
    return QString();
}

bool ReportObject::typeFromName(const QString& name, Type& t)
{
    for (const auto& p : kTplObjectTypes)
        if (name == QLatin1String(p.name)) {
            t = Type(p.value);
            return true;
        }
    return false;
}

QString ReportBand::typeName(Type t)
{
    for (const auto& p : kTplBandTypes)
        if (p.value == t)
            return QLatin1String(p.name);
    return QString();
}

bool ReportBand::typeFromName(const QString& name, Type& t)
{
    for (const auto& p : kTplBandTypes)
        if (name.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0) {
            t = Type(p.value);
            return true;
        }
    return false;
}

QString ReportBand::caption(Type t)
{
    switch (t) {
    case ReportTitle:
        return QStringLiteral("报表标题");
    case PageHeader:
        return QStringLiteral("页眉");
    case DataHeader:
        return QStringLiteral("数据表头");
    case MasterData:
        return QStringLiteral("主项数据");
    case DetailData:
        return QStringLiteral("明细数据");
    case GroupHeader:
        return QStringLiteral("分组页眉");
    case GroupFooter:
        return QStringLiteral("分组页脚");
    case DataFooter:
        return QStringLiteral("数据表尾");
    case Summary:
        return QStringLiteral("报表合计");
    case PageFooter:
        return QStringLiteral("页脚");
    }
    return QString();
}

ReportTemplate ReportTemplate::blank(const QString& name)
{
    ReportTemplate t;
    t.name = name;
    return t;
}

bool ReportTemplate::load(const QString& fileName, QString* error)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return loadFromData(f.readAll(), error);
}

bool ReportTemplate::loadFromData(const QByteArray& xml, QString* error)
{
    ReportTemplate t;
    QXmlStreamReader r(xml);
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!r.readNextStartElement() || r.name() != QLatin1String("kelmora-report"))
        return fail(r.hasError() ? r.errorString() : QStringLiteral("不是报表模板文件"));
    t.name = r.attributes().value(QLatin1String("name")).toString();
    while (r.readNextStartElement()) {
        const auto a = r.attributes();
        if (r.name() == QLatin1String("page")) {
            t.page.paperWidth = tplDouble(a, "width", 210);
            t.page.paperHeight = tplDouble(a, "height", 297);
            t.page.landscape = a.value(QLatin1String("orientation")) == QLatin1String("landscape");
            t.page.marginLeft = tplDouble(a, "left", 10);
            t.page.marginTop = tplDouble(a, "top", 10);
            t.page.marginRight = tplDouble(a, "right", 10);
            t.page.marginBottom = tplDouble(a, "bottom", 10);
            r.skipCurrentElement();
        } else if (r.name() == QLatin1String("variables")) {
            const QString category = a.value(QLatin1String("category")).toString();
            while (r.readNextStartElement()) {
                if (r.name() == QLatin1String("variable")) {
                    const auto va = r.attributes();
                    t.variables.append({category, va.value(QLatin1String("name")).toString(),
                        va.value(QLatin1String("value")).toString()});
                }
                r.skipCurrentElement();
            }
        } else if (r.name() == QLatin1String("band")) {
            ReportBand b;
            if (!ReportBand::typeFromName(a.value(QLatin1String("type")).toString(), b.type))
                return fail(QStringLiteral("未知的带区类型：%1").arg(a.value(QLatin1String("type"))));
            b.name = a.value(QLatin1String("name")).toString();
            b.height = tplDouble(a, "height", 10);
            b.dataSet = a.value(QLatin1String("dataset")).toString();
            b.condition = a.value(QLatin1String("condition")).toString();
            b.rowsPerPage = a.value(QLatin1String("rowsPerPage")).toString();
            while (r.readNextStartElement()) {
                ReportObject o;
                if (!ReportObject::typeFromName(r.name().toString(), o.type))
                    return fail(QStringLiteral("未知的对象类型：%1").arg(r.name()));
                const auto oa = r.attributes();
                o.name = oa.value(QLatin1String("name")).toString();
                o.geometry = QRectF(tplDouble(oa, "x", 0), tplDouble(oa, "y", 0), tplDouble(oa, "width", 0),
                    tplDouble(oa, "height", 0));
                if (oa.hasAttribute(QLatin1String("font")))
                    o.fontFamily = oa.value(QLatin1String("font")).toString();
                o.fontSize = tplDouble(oa, "size", 10);
                o.bold = tplBool(oa, "bold", false);
                o.italic = tplBool(oa, "italic", false);
                o.underline = tplBool(oa, "underline", false);
                if (oa.hasAttribute(QLatin1String("color")))
                    o.color = QColor(oa.value(QLatin1String("color")).toString());
                if (oa.hasAttribute(QLatin1String("fill")))
                    o.fill = QColor(oa.value(QLatin1String("fill")).toString());
                o.frame = tplFrameFromText(oa.value(QLatin1String("frame")).toString());
                o.frameWidth = tplDouble(oa, "frameWidth", 0.5);
                o.hAlign = tplHAlignFromText(oa.value(QLatin1String("halign")).toString());
                o.vAlign = tplVAlignFromText(oa.value(QLatin1String("valign")).toString());
                o.wordWrap = tplBool(oa, "wrap", false);
                o.stretch = tplBool(oa, "stretch", false);
                o.format = oa.value(QLatin1String("format")).toString();
                if (oa.hasAttribute(QLatin1String("expression")))
                    o.text = oa.value(QLatin1String("expression")).toString();
                const QString body = r.readElementText(QXmlStreamReader::IncludeChildElements);
                if (o.type == ReportObject::Picture) {
                    if (!body.trimmed().isEmpty())
                        o.picture.loadFromData(QByteArray::fromBase64(body.trimmed().toLatin1()), "PNG");
                } else if (o.type == ReportObject::Text) {
                    o.text = body;
                }
                b.objects.append(o);
            }
            t.bands.append(b);
        } else {
            r.skipCurrentElement();
        }
    }
    if (r.hasError())
        return fail(QStringLiteral("第 %1 行：%2").arg(r.lineNumber()).arg(r.errorString()));
    *this = t;
    return true;
}

QByteArray ReportTemplate::toXml() const
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("kelmora-report"));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    w.writeAttribute(QStringLiteral("name"), name);
    w.writeEmptyElement(QStringLiteral("page"));
    w.writeAttribute(QStringLiteral("width"), tplNumber(page.paperWidth));
    w.writeAttribute(QStringLiteral("height"), tplNumber(page.paperHeight));
    w.writeAttribute(
        QStringLiteral("orientation"), page.landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
    w.writeAttribute(QStringLiteral("left"), tplNumber(page.marginLeft));
    w.writeAttribute(QStringLiteral("top"), tplNumber(page.marginTop));
    w.writeAttribute(QStringLiteral("right"), tplNumber(page.marginRight));
    w.writeAttribute(QStringLiteral("bottom"), tplNumber(page.marginBottom));
    // Variables grouped by category, in the order of their first appearance.
    QStringList categories;
    for (const auto& v : variables)
        if (!categories.contains(v.category))
            categories << v.category;
    for (const QString& c : categories) {
        w.writeStartElement(QStringLiteral("variables"));
        w.writeAttribute(QStringLiteral("category"), c);
        for (const auto& v : variables) {
            if (v.category != c)
                continue;
            w.writeEmptyElement(QStringLiteral("variable"));
            w.writeAttribute(QStringLiteral("name"), v.name);
            w.writeAttribute(QStringLiteral("value"), v.value);
        }
        w.writeEndElement();
    }
    for (const auto& b : bands) {
        w.writeStartElement(QStringLiteral("band"));
        w.writeAttribute(QStringLiteral("type"), ReportBand::typeName(b.type));
        w.writeAttribute(QStringLiteral("name"), b.name);
        w.writeAttribute(QStringLiteral("height"), tplNumber(b.height));
        if (!b.dataSet.isEmpty())
            w.writeAttribute(QStringLiteral("dataset"), b.dataSet);
        if (!b.condition.isEmpty())
            w.writeAttribute(QStringLiteral("condition"), b.condition);
        if (!b.rowsPerPage.isEmpty())
            w.writeAttribute(QStringLiteral("rowsPerPage"), b.rowsPerPage);
        for (const auto& o : b.objects) {
            w.writeStartElement(ReportObject::typeName(o.type));
            w.writeAttribute(QStringLiteral("name"), o.name);
            w.writeAttribute(QStringLiteral("x"), tplNumber(o.geometry.x()));
            w.writeAttribute(QStringLiteral("y"), tplNumber(o.geometry.y()));
            w.writeAttribute(QStringLiteral("width"), tplNumber(o.geometry.width()));
            w.writeAttribute(QStringLiteral("height"), tplNumber(o.geometry.height()));
            if (o.type == ReportObject::Text || o.type == ReportObject::CheckBox) {
                w.writeAttribute(QStringLiteral("font"), o.fontFamily);
                w.writeAttribute(QStringLiteral("size"), tplNumber(o.fontSize));
                if (o.bold)
                    w.writeAttribute(QStringLiteral("bold"), QStringLiteral("1"));
                if (o.italic)
                    w.writeAttribute(QStringLiteral("italic"), QStringLiteral("1"));
                if (o.underline)
                    w.writeAttribute(QStringLiteral("underline"), QStringLiteral("1"));
            }
            if (o.color != QColor(Qt::black))
                w.writeAttribute(QStringLiteral("color"), o.color.name());
            if (o.fill.isValid())
                w.writeAttribute(QStringLiteral("fill"), o.fill.name());
            if (o.frame)
                w.writeAttribute(QStringLiteral("frame"), tplFrameText(o.frame));
            if (o.frameWidth != 0.5)
                w.writeAttribute(QStringLiteral("frameWidth"), tplNumber(o.frameWidth));
            if (o.type == ReportObject::Text) {
                w.writeAttribute(QStringLiteral("halign"), tplHAlignText(o.hAlign));
                w.writeAttribute(QStringLiteral("valign"), tplVAlignText(o.vAlign));
                if (o.wordWrap)
                    w.writeAttribute(QStringLiteral("wrap"), QStringLiteral("1"));
                if (o.stretch)
                    w.writeAttribute(QStringLiteral("stretch"), QStringLiteral("1"));
                if (!o.format.isEmpty())
                    w.writeAttribute(QStringLiteral("format"), o.format);
                w.writeCharacters(o.text);
            } else if (o.type == ReportObject::CheckBox) {
                w.writeAttribute(QStringLiteral("expression"), o.text);
            } else if (o.type == ReportObject::Picture && !o.picture.isNull()) {
                QByteArray png;
                QBuffer buf(&png);
                buf.open(QIODevice::WriteOnly);
                o.picture.save(&buf, "PNG");
                w.writeCharacters(QString::fromLatin1(png.toBase64()));
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

bool ReportTemplate::save(const QString& fileName, QString* error) const
{
    // Written aside and renamed, so a failed save never leaves half a template.
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(toXml()) < 0 || !f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

ReportBand* ReportTemplate::findBand(ReportBand::Type type)
{
    for (auto& b : bands)
        if (b.type == type)
            return &b;
    return nullptr;
}

const ReportBand* ReportTemplate::findBand(ReportBand::Type type) const
{
    for (const auto& b : bands)
        if (b.type == type)
            return &b;
    return nullptr;
}

ReportObject* ReportTemplate::findObject(const QString& objectName, int* bandIndex)
{
    for (int i = 0; i < bands.size(); ++i)
        for (auto& o : bands[i].objects)
            if (o.name.compare(objectName, Qt::CaseInsensitive) == 0) {
                if (bandIndex)
                    *bandIndex = i;
                return &o;
            }
    return nullptr;
}

QString ReportTemplate::uniqueName(const QString& prefix) const
{
    for (int n = 1;; ++n) {
        const QString candidate = prefix + QString::number(n);
        bool used = false;
        for (const auto& b : bands) {
            if (b.name.compare(candidate, Qt::CaseInsensitive) == 0)
                used = true;
            for (const auto& o : b.objects)
                if (o.name.compare(candidate, Qt::CaseInsensitive) == 0)
                    used = true;
        }
        if (!used)
            return candidate;
    }
}

void ReportTemplate::setVariable(const QString& category, const QString& varName, const QString& value)
{
    for (auto& v : variables)
        if (v.name.compare(varName, Qt::CaseInsensitive) == 0) {
            v.category = category;
            v.value = value;
            return;
        }
    variables.append({category, varName, value});
}

const ReportVariable* ReportTemplate::variable(const QString& varName) const
{
    for (const auto& v : variables)
        if (v.name.compare(varName, Qt::CaseInsensitive) == 0)
            return &v;
    return nullptr;
}

bool ReportTemplate::operator==(const ReportTemplate& o) const
{
    if (name != o.name || !(page == o.page) || variables.size() != o.variables.size() || bands.size() != o.bands.size())
        return false;
    for (int i = 0; i < variables.size(); ++i)
        if (variables[i].category != o.variables[i].category || variables[i].name != o.variables[i].name
            || variables[i].value != o.variables[i].value)
            return false;
    for (int i = 0; i < bands.size(); ++i) {
        const auto& a = bands[i];
        const auto& b = o.bands[i];
        if (a.type != b.type || a.name != b.name || a.height != b.height || a.dataSet != b.dataSet
            || a.condition != b.condition || a.rowsPerPage != b.rowsPerPage || a.objects.size() != b.objects.size())
            return false;
        for (int j = 0; j < a.objects.size(); ++j)
            if (!tplObjectEquals(a.objects[j], b.objects[j]))
                return false;
    }
    return true;
}
