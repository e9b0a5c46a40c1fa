#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

// One DepotD row as the entry windows hold it. Optional values stay NULL in
// the database when they are not set.
struct DocumentLine
{
    qint64 id = 0; // F_ID; 0 for a line not yet written
    QString code; // F_Code, stamped at save
    QString goodCode, goodName, tmCode, type, spec, unit, address, mem;
    double amount = 0, price = 0, totalPrice = 0, cbPrice = 0;
    std::optional<double> rate; // F_Rate
    QString zf[5];
    std::optional<double> sz[3];
    QDate rq[3]; // invalid: NULL
    int flag = 0; // 1 the product line of an assembly or dismantling
    std::optional<double> curAmount; // stocktaking: book quantity
    std::optional<double> sjAmount; // stocktaking: counted quantity

    bool isEmpty() const { return goodCode.trimmed().isEmpty(); }
};

// A document: the DepotM header and its lines. An assembly or dismantling keeps
// its product line apart from the component lines.
struct Document
{
    qint64 id = 0; // F_ID; 0 for a new document
    QString code;
    int kind = 1;
    QString depot; // F_Depot
    QString client; // F_Client
    QDate makeDate; // document date
    QDate date; // entry date (制单日期)
    QString maker, auditer, empName, oldCode, mem;
    bool checked = false;
    double totalPrice = 0; // as stored; recomputed at save
    double amount = 0;
    QList<DocumentLine> lines;
    std::optional<DocumentLine> product; // kinds 12 and 13

    bool isNew() const { return id == 0; }
    bool isAssemblyKind() const { return kind == 12 || kind == 13; }
};
