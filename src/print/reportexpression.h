#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

// Expressions of the templates: data fields (frxDD.F_Price, frxDM."F_Code"),
// variables, numbers, 'texts', + - * /, comparisons (= <> < > <= >=), and and or,
// parentheses and function calls (SUM, COUNT, IIF, FormatFloat, FormatDateTime,
// and the registered functions such as MoneyMinToBig). Names ignore letter case.
struct ReportExprNode
{
    enum Kind { Literal, Field, Name, Call, Unary, Binary };
    Kind kind = Literal;
    QVariant value; // Literal
    QString dataSet, field; // Field
    QString name; // Name, Call, operator of Unary/Binary
    QList<std::shared_ptr<ReportExprNode>> args;
};
using ReportExprPtr = std::shared_ptr<ReportExprNode>;

// What the expressions ask of the engine.
class ReportExprContext
{
public:
    virtual ~ReportExprContext() = default;
    virtual QVariant fieldValue(const QString& dataSet, const QString& field) = 0;
    virtual QVariant nameValue(const QString& name) = 0;
    // SUM/COUNT/AVG/MIN/MAX over the rows the calling band covers.
    virtual QVariant aggregate(const QString& function, const ReportExprPtr& argument) = 0;
    virtual void reportError(const QString& message) = 0;
};

// A text with [expressions] embedded, parsed once.
struct ReportTextPart
{
    QString literal;
    ReportExprPtr expression; // null for a literal part
    QString source;
};

namespace ReportExpression {
// Parses one expression; on a syntax error returns null and sets *error.
ReportExprPtr parse(const QString& text, QString* error = nullptr);
QVariant evaluate(const ReportExprPtr& node, ReportExprContext& context);
// Splits "Total: [SUM(frxDD.F_TotalPrice)]" into parts; a syntax error inside
// brackets becomes a literal part holding the bracketed text and an error.
QList<ReportTextPart> parseText(const QString& text, QStringList* errors = nullptr);
// The first data set named in an expression, or empty.
QString firstDataSet(const ReportExprPtr& node);
bool usesName(const ReportExprPtr& node, const QString& name);
} // namespace ReportExpression
