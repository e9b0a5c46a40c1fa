#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

// Our own banded template format (docs/templates.md). All lengths are millimetres,
// font sizes and line widths points. A template is a plain value: copy it freely
// (the designer's undo stack keeps whole copies).

struct ReportPageSetup
{
    double paperWidth = 210; // as printed on portrait paper
    double paperHeight = 297;
    bool landscape = false;
    double marginLeft = 10, marginTop = 10, marginRight = 10, marginBottom = 10;

    double width() const { return landscape ? paperHeight : paperWidth; }
    double height() const { return landscape ? paperWidth : paperHeight; }
    double contentWidth() const { return width() - marginLeft - marginRight; }
    double contentHeight() const { return height() - marginTop - marginBottom; }
    bool operator==(const ReportPageSetup&) const = default;
};

struct ReportObject
{
    enum Type { Text, Line, Rect, Picture, CheckBox };
    enum Frame { NoFrame = 0, FrameLeft = 1, FrameTop = 2, FrameRight = 4, FrameBottom = 8, FrameAll = 15 };

    Type type = Text;
    QString name;
    QRectF geometry; // within the band; for a line: from top-left to bottom-right
    QString text; // text with [expressions]; for a check box the expression that ticks it
    QString fontFamily = QStringLiteral("宋体");
    double fontSize = 10;
    bool bold = false, italic = false, underline = false;
    QColor color = Qt::black;
    QColor fill; // invalid: transparent
    int frame = NoFrame;
    double frameWidth = 0.5;
    Qt::Alignment hAlign = Qt::AlignLeft;
    Qt::Alignment vAlign = Qt::AlignVCenter;
    bool wordWrap = false;
    bool stretch = false; // grows with its text and with the band
    QString format; // number or date format of the expression values, or @quantity/@price/@amount
    QImage picture;

    static QString typeName(Type t);
    static bool typeFromName(const QString& name, Type& t);
};

struct ReportBand
{
    enum Type {
        ReportTitle,
        PageHeader,
        DataHeader, // column titles of a data band, repeated on every page
        MasterData, // one row of frxDM per band
        DetailData, // one row of frxDD per band
        GroupHeader,
        GroupFooter,
        DataFooter, // after the last row of a data band
        Summary,
        PageFooter
    };

    Type type = MasterData;
    QString name;
    double height = 10;
    QString dataSet; // data bands, their header and footer: frxDM or frxDD
    QString condition; // group header: the expression whose change starts a group
    QString rowsPerPage; // data bands: expression of the fixed rows per page (blank-filled), e.g. PageMaxRow
    QList<ReportObject> objects;

    static QString typeName(Type t);
    static bool typeFromName(const QString& name, Type& t);
    static QString caption(Type t); // shown in the designer
    bool isData() const { return type == MasterData || type == DetailData; }
};

struct ReportVariable
{
    QString category;
    QString name;
    QString value; // the stored value; used when the value source does not know the name
};

class ReportTemplate
{
public:
    QString name;
    ReportPageSetup page;
    QList<ReportVariable> variables;
    QList<ReportBand> bands;

    // A blank new template: A4 portrait, 10 mm margins, no bands.
    static ReportTemplate blank(const QString& name = QString());

    bool load(const QString& fileName, QString* error = nullptr);
    bool loadFromData(const QByteArray& xml, QString* error = nullptr);
    bool save(const QString& fileName, QString* error = nullptr) const;
    QByteArray toXml() const;

    ReportBand* findBand(ReportBand::Type type);
    const ReportBand* findBand(ReportBand::Type type) const;
    // Objects are looked up by name over all bands; nullptr when absent.
    ReportObject* findObject(const QString& objectName, int* bandIndex = nullptr);
    // A name not used by any object or band yet: prefix + number.
    QString uniqueName(const QString& prefix) const;
    void setVariable(const QString& category, const QString& name, const QString& value);
    const ReportVariable* variable(const QString& name) const;

    bool operator==(const ReportTemplate& o) const;
};
