#pragma once

#include <QDate>
#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

#include "data/sqlparams.h"

// One good (t_goods) as the edit window shows it.
struct GoodsRecord
{
    qint64 id = 0;
    QString code, name, type, spec, unit, barcode;
    double enterPrice = 0, salePrice = 0, begAmount = 0, deptUp = 0, deptDown = 0;
    QString depot, mem;
    bool flag = false; // disabled
    QString address;
    QString zf[5];
    double sz[3] = {0, 0, 0};
    QDate rq[3]; // invalid: not set (stored as the empty date)

    static GoodsRecord fromRecord(const QSqlRecord& r);
};

// One opening stock line (t_begDept) of a good.
struct OpeningStockLine
{
    qint64 id = 0; // 0: not stored yet
    QString depot;
    double amount = 0;
    double price = 0;
    double total() const { return amount * price; }
};

// The goods list's search values.
struct GoodsFilter
{
    int item = -1; // search combo item, -1 none
    QString text;
    QString categoryPath; // empty or the root path: every category
    bool includeDisabled = false;
};

// Goods: codes, save with opening stock and the copies in document lines,
// delete, batch category change, the list statement.
class GoodsService
{
public:
    enum Field {
        NoField,
        CodeField,
        NameField,
        TypeField,
        SpecField,
        UnitField,
        BarcodeField,
        DepotField,
        AddressField,
        UserField,
        OpeningField
    };

    // Proposed code from the most recently inserted good: its last four digits
    // plus one ("HP0009" -> "HP0010"), "0001" for no good or a code of three
    // characters or fewer. A proposal already in use counts on.
    static QString proposeCode();
    // The counting rule alone (no database): "" when the last four are not digits.
    static QString nextCodeAfter(const QString& code);

    // The save's checks in order, with the message shown. editingId is the
    // identity of the good being edited (0 for a new one).
    static Field validate(const GoodsRecord& g, qint64 editingId);

    // Opening stock lines shown for a code: its stored lines plus a zero line
    // for every depot without one, limited to the operator's depots.
    static bool openingLines(const QString& code, QList<OpeningStockLine>& lines);

    // Validates and writes the good with its opening stock lines in one
    // transaction. previousCode is the code the edited good had (empty when
    // new); autoCode, for a new good, is stored as the automatic-code option.
    // On failure nothing is written; the message is shown and badField says
    // which box to focus.
    static bool save(GoodsRecord& g, const QList<OpeningStockLine>& lines, const QString& previousCode, bool autoCode,
        Field* badField = nullptr);

    // True when a document line uses the code (or the look-up failed).
    static bool isUsed(const QString& code);
    // Deletes a good that no document uses, with its opening stock, in one
    // transaction. Shows the refusal or failure message.
    static bool remove(qint64 id, const QString& code);
    // Sets the category of the goods in one transaction; false (message shown)
    // when nothing was changed.
    static bool changeCategory(const QList<qint64>& ids, const QString& path);

    // The list statement for the filter.
    static QString searchSql(const GoodsFilter& filter, SqlParams& params);
    // "and (F_type = path or below it) " - the category filter on a column.
    static QString categoryClause(const QString& column, const QString& path, SqlParams& params,
        const QString& paramPrefix = QStringLiteral("cat"));

    static QString emptyDateText() { return QStringLiteral("1900-08-14"); }
    static QString saveFailText() { return QStringLiteral("保存失败，请检测数据库连接！"); }
};
