#pragma once

#include "data/sqlparams.h"

#include <QString>

struct DocumentKind;

// Document and goods codes: prefix + yyyymmdd + a sequence, or a bare sequence.
class Numbering
{
public:
    // Runs the statement (first column of the first row is the highest code so
    // far) and returns the next code; empty with *error set when the highest
    // code does not end in digits or the statement fails (shown through ShowMess).
    // When the highest code's sequence is all nines the code grows by a new
    // sequence of the same width, so it stays unique and sorts after it.
    static QString GetNextCode(
        const QString& sql, const SqlParams& params, const QString& prefix, int width, QString* error = nullptr);
    static QString GetNextSeqCode(const QString& sql, int width, QString* error = nullptr);

    // The code "新增" shows now for a kind: prefix + today (Clock) + sequence.
    static QString nextCodeFor(const DocumentKind& kind, QString* error = nullptr);
    static QString nextCodeFor(int kind, QString* error = nullptr);

    // The pure step: the code after `max` (empty max: head + 0...01).
    static bool nextAfter(const QString& max, const QString& head, int width, QString& out, QString* error);
};
