#pragma once

#include <QSqlRecord>

#include "availabilitycheck.h"
#include "document.h"

#include <QString>
#include <optional>

class DataModule;

// Saves, deletes, audits and un-audits documents and loads them by code. Every
// write of a document happens in one transaction; messages go through ShowMess.
//
// A save serialises its availability check with the write (the stock lock of
// Transaction::Serialized), so with negative stock not allowed two workstations
// can never together take a depot below zero. When negative stock is allowed the
// questions are asked first, outside the lock, so nobody waits on an answer.
class DocumentStore
{
public:
    enum Result {
        Done,
        Invalid, // a header field is missing (message kind 0 shown)
        Refused, // stock shortfall with negative stock off
        Declined, // the operator answered no to a shortfall question
        NotFound,
        Audited, // audited documents cannot be edited or deleted
        Failed, // database error (reported)
    };

    struct SaveOptions
    {
        QString operName; // F_Maker: the operator who saves
        std::optional<bool> negativeStock; // default: the system option
        std::optional<int> quantityDecimals; // default: the system option
        bool validateHeader = true;
    };

    explicit DocumentStore(DataModule* dataModule = nullptr);

    // Saves a new (id 0) or edited document. On success the document holds its
    // final code (a taken code is replaced by a fresh one), F_ID, line ids and
    // header totals, and empty lines are gone. On failure nothing is written.
    Result save(Document& doc, const SaveOptions& options);
    Result remove(const QString& code);
    Result audit(const QString& code, const QString& operName);
    Result unaudit(const QString& code, const QString& operName);
    // The document with its lines in F_ID order; nullopt when there is none
    // (or on a database error, then errorString() says so).
    std::optional<Document> load(const QString& code);

    // Header checks of the entry window; shows the kind's message.
    static bool validateHeader(const Document& doc);
    // A header (without lines) from a DepotM row; fields matched in any letter case.
    static Document headerFromRecord(const QSqlRecord& r);
    // Stamps the code on every line and drops the lines without goods.
    static void PrepareLines(Document& doc, const QString& code);

    QString errorString() const { return m_error; }
    // The last shortfall a save met (Refused or Declined).
    const AvailabilityCheck::Shortfall& shortfall() const { return m_shortfall; }

    static QString saveFailText() { return QStringLiteral("保存失败，请检测数据库连接！"); }
    static QString auditedText() { return QStringLiteral("此单据已经审核，不能再修改！"); }
    static QString alreadyAuditedText() { return QStringLiteral("此单据已经审核！"); }

private:
    bool writeLines(Document& doc, bool editing);
    bool writeHeader(Document& doc, bool editing);
    bool writeProduct(Document& doc, bool editing);
    bool codeTaken(const QString& code, bool* ok);
    Result setAudit(const QString& code, const QString& operName, bool audited);
    DataModule& d() const;

    DataModule* m_dm;
    QString m_error;
    AvailabilityCheck::Shortfall m_shortfall;
};
