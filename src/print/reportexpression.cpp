#include "reportexpression.h"

#include "reportformat.h"
#include "reportfunctions.h"

#include <QDateTime>

namespace {
struct ExprToken
{
    enum Type { End, Number, String, Ident, QuotedIdent, Op, LParen, RParen, Comma, Dot, Error };
    Type type = End;
    QString text;
    double number = 0;
};

class ExprLexer
{
public:
    explicit ExprLexer(const QString& s)
        : m_s(s)
    { }

    ExprToken next()
    {
        while (m_pos < m_s.size() && m_s.at(m_pos).isSpace())
            ++m_pos;
        ExprToken t;
        if (m_pos >= m_s.size())
            return t;
        const QChar c = m_s.at(m_pos);
        if (c.isDigit()) {
            const int start = m_pos;
            while (m_pos < m_s.size() && (m_s.at(m_pos).isDigit() || m_s.at(m_pos) == QLatin1Char('.')))
                ++m_pos;
            t.type = ExprToken::Number;
            t.text = m_s.mid(start, m_pos - start);
            bool ok = false;
            t.number = t.text.toDouble(&ok);
            if (!ok)
                t.type = ExprToken::Error;
            return t;
        }
        if (c.isLetter() || c == QLatin1Char('_') || c.unicode() > 127) {
            const int start = m_pos;
            while (m_pos < m_s.size()
                && (m_s.at(m_pos).isLetterOrNumber() || m_s.at(m_pos) == QLatin1Char('_')
                    || (m_s.at(m_pos).unicode() > 127 && !m_s.at(m_pos).isSpace())))
                ++m_pos;
            t.type = ExprToken::Ident;
            t.text = m_s.mid(start, m_pos - start);
            // FastReport's [Line#] is our Line.
            if (m_pos < m_s.size() && m_s.at(m_pos) == QLatin1Char('#'))
                ++m_pos;
            return t;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // 'text' with '' for a quote; "name" is a quoted field name.
            const QChar q = c;
            ++m_pos;
            QString text;
            while (m_pos < m_s.size()) {
                if (m_s.at(m_pos) == q) {
                    if (m_pos + 1 < m_s.size() && m_s.at(m_pos + 1) == q) {
                        text += q;
                        m_pos += 2;
                        continue;
                    }
                    break;
                }
                text += m_s.at(m_pos++);
            }
            if (m_pos >= m_s.size()) {
                t.type = ExprToken::Error;
                t.text = QStringLiteral("缺少结束引号");
                return t;
            }
            ++m_pos;
            t.type = q == QLatin1Char('\'') ? ExprToken::String : ExprToken::QuotedIdent;
            t.text = text;
            return t;
        }
        ++m_pos;
        switch (c.unicode()) {
        case '(':
            t.type = ExprToken::LParen;
            return t;
        case ')':
            t.type = ExprToken::RParen;
            return t;
        case ',':
            t.type = ExprToken::Comma;
            return t;
        case '.':
            t.type = ExprToken::Dot;
            return t;
        case '+':
        case '-':
        case '*':
        case '/':
        case '=':
            t.type = ExprToken::Op;
            t.text = c;
            return t;
        case '<':
        case '>':
            t.type = ExprToken::Op;
            t.text = c;
            if (m_pos < m_s.size()
                && (m_s.at(m_pos) == QLatin1Char('=') || (c == QLatin1Char('<') && m_s.at(m_pos) == QLatin1Char('>'))))
                t.text += m_s.at(m_pos++);
            return t;
        default:
            t.type = ExprToken::Error;
            t.text = QStringLiteral("无法识别的字符 %1").arg(c);
            return t;
        }
    }

private:
    QString m_s;
    int m_pos = 0;
};

class ExprParser
{
public:
    explicit ExprParser(const QString& s)
        : m_lex(s)
    {
        advance();
    }

    ReportExprPtr parseAll()
    {
        auto n = parseOr();
        if (n && m_tok.type != ExprToken::End)
            return fail(QStringLiteral("多余的内容：%1").arg(m_tok.text));
        return n;
    }

    QString error;

private:
    void advance() { m_tok = m_lex.next(); }

    ReportExprPtr fail(const QString& why)
    {
        if (error.isEmpty())
            error = why;
        return nullptr;
    }

    bool isWord(const char* w) const
    {
        return m_tok.type == ExprToken::Ident && m_tok.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }

    static ReportExprPtr binary(const QString& op, ReportExprPtr a, ReportExprPtr b)
    {
        auto n = std::make_shared<ReportExprNode>();
        n->kind = ReportExprNode::Binary;
        n->name = op;
        n->args = {a, b};
        return n;
    }

    ReportExprPtr parseOr()
    {
        auto left = parseAnd();
        while (left && isWord("or")) {
            advance();
            auto right = parseAnd();
            if (!right)
                return nullptr;
            left = binary(QStringLiteral("or"), left, right);
        }
        return left;
    }

    ReportExprPtr parseAnd()
    {
        auto left = parseCompare();
        while (left && isWord("and")) {
            advance();
            auto right = parseCompare();
            if (!right)
                return nullptr;
            left = binary(QStringLiteral("and"), left, right);
        }
        return left;
    }

    ReportExprPtr parseCompare()
    {
        auto left = parseAdd();
        while (left && m_tok.type == ExprToken::Op
            && (m_tok.text == QLatin1String("=") || m_tok.text.startsWith(QLatin1Char('<'))
                || m_tok.text.startsWith(QLatin1Char('>')))) {
            const QString op = m_tok.text;
            advance();
            auto right = parseAdd();
            if (!right)
                return nullptr;
            left = binary(op, left, right);
        }
        return left;
    }

    ReportExprPtr parseAdd()
    {
        auto left = parseMul();
        while (left && m_tok.type == ExprToken::Op
            && (m_tok.text == QLatin1String("+") || m_tok.text == QLatin1String("-"))) {
            const QString op = m_tok.text;
            advance();
            auto right = parseMul();
            if (!right)
                return nullptr;
            left = binary(op, left, right);
        }
        return left;
    }

    ReportExprPtr parseMul()
    {
        auto left = parseUnary();
        while (left && m_tok.type == ExprToken::Op
            && (m_tok.text == QLatin1String("*") || m_tok.text == QLatin1String("/"))) {
            const QString op = m_tok.text;
            advance();
            auto right = parseUnary();
            if (!right)
                return nullptr;
            left = binary(op, left, right);
        }
        return left;
    }

    ReportExprPtr parseUnary()
    {
        if (m_tok.type == ExprToken::Op && m_tok.text == QLatin1String("-")) {
            advance();
            auto operand = parseUnary();
            if (!operand)
                return nullptr;
            auto n = std::make_shared<ReportExprNode>();
            n->kind = ReportExprNode::Unary;
            n->name = QStringLiteral("-");
            n->args = {operand};
            return n;
        }
        if (isWord("not")) {
            advance();
            auto operand = parseUnary();
            if (!operand)
                return nullptr;
            auto n = std::make_shared<ReportExprNode>();
            n->kind = ReportExprNode::Unary;
            n->name = QStringLiteral("not");
            n->args = {operand};
            return n;
        }
        return parsePrimary();
    }

    ReportExprPtr parsePrimary()
    {
        auto n = std::make_shared<ReportExprNode>();
        switch (m_tok.type) {
        case ExprToken::Number:
            n->value = m_tok.number;
            advance();
            return n;
        case ExprToken::String:
            n->value = m_tok.text;
            advance();
            return n;
        case ExprToken::LParen: {
            advance();
            auto inner = parseOr();
            if (!inner)
                return nullptr;
            if (m_tok.type != ExprToken::RParen)
                return fail(QStringLiteral("缺少右括号"));
            advance();
            return inner;
        }
        case ExprToken::Op:
            // FastReport-style <frxDD."F_Price"> field brackets.
            if (m_tok.text == QLatin1String("<")) {
                advance();
                auto inner = parsePrimary();
                if (!inner)
                    return nullptr;
                if (m_tok.type != ExprToken::Op || m_tok.text != QLatin1String(">"))
                    return fail(QStringLiteral("缺少 >"));
                advance();
                return inner;
            }
            return fail(QStringLiteral("意外的运算符 %1").arg(m_tok.text));
        case ExprToken::Ident:
        case ExprToken::QuotedIdent: {
            const QString ident = m_tok.text;
            advance();
            if (m_tok.type == ExprToken::Dot) {
                advance();
                if (m_tok.type != ExprToken::Ident && m_tok.type != ExprToken::QuotedIdent)
                    return fail(QStringLiteral("缺少字段名"));
                n->kind = ReportExprNode::Field;
                n->dataSet = ident;
                n->field = m_tok.text;
                advance();
                return n;
            }
            if (m_tok.type == ExprToken::LParen) {
                advance();
                n->kind = ReportExprNode::Call;
                n->name = ident;
                if (m_tok.type != ExprToken::RParen) {
                    for (;;) {
                        auto arg = parseOr();
                        if (!arg)
                            return nullptr;
                        n->args << arg;
                        if (m_tok.type == ExprToken::Comma) {
                            advance();
                            continue;
                        }
                        break;
                    }
                }
                if (m_tok.type != ExprToken::RParen)
                    return fail(QStringLiteral("函数 %1 缺少右括号").arg(ident));
                advance();
                return n;
            }
            if (ident.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
                || ident.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
                n->value = ident.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
                return n;
            }
            n->kind = ReportExprNode::Name;
            n->name = ident;
            return n;
        }
        case ExprToken::Error:
            return fail(m_tok.text);
        default:
            return fail(QStringLiteral("表达式不完整"));
        }
    }

    ExprLexer m_lex;
    ExprToken m_tok;
};

bool exprTruth(const QVariant& v)
{
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    bool ok = false;
    const double d = ReportFormat::toNumber(v, &ok);
    if (ok)
        return d != 0;
    return !v.toString().isEmpty();
}

int exprCompare(const QVariant& a, const QVariant& b)
{
    bool okA = false, okB = false;
    const double x = ReportFormat::toNumber(a, &okA);
    const double y = ReportFormat::toNumber(b, &okB);
    if (okA && okB)
        return x < y ? -1 : (x > y ? 1 : 0);
    const QDateTime da = ReportFormat::toDateTime(a), db = ReportFormat::toDateTime(b);
    if (da.isValid() && db.isValid())
        return da < db ? -1 : (da > db ? 1 : 0);
    return QString::compare(a.toString(), b.toString());
}
} // namespace

namespace ReportExpression {
ReportExprPtr parse(const QString& text, QString* error)
{
    ExprParser p(text);
    auto n = p.parseAll();
    if (!n && error)
        *error = p.error.isEmpty() ? QStringLiteral("表达式为空") : p.error;
    return n;
}

QVariant evaluate(const ReportExprPtr& node, ReportExprContext& ctx)
{
    if (!node)
        return {};
    switch (node->kind) {
    case ReportExprNode::Literal:
        return node->value;
    case ReportExprNode::Field:
        return ctx.fieldValue(node->dataSet, node->field);
    case ReportExprNode::Name:
        return ctx.nameValue(node->name);
    case ReportExprNode::Unary: {
        const QVariant v = evaluate(node->args.value(0), ctx);
        if (node->name == QLatin1String("not"))
            return !exprTruth(v);
        return -ReportFormat::toNumber(v);
    }
    case ReportExprNode::Binary: {
        const QString& op = node->name;
        if (op == QLatin1String("and"))
            return exprTruth(evaluate(node->args[0], ctx)) && exprTruth(evaluate(node->args[1], ctx));
        if (op == QLatin1String("or"))
            return exprTruth(evaluate(node->args[0], ctx)) || exprTruth(evaluate(node->args[1], ctx));
        const QVariant a = evaluate(node->args[0], ctx);
        const QVariant b = evaluate(node->args[1], ctx);
        if (op == QLatin1String("+")) {
            // Numbers add; anything else joins as text (an empty field joins as nothing).
            bool okA = false, okB = false;
            const double x = ReportFormat::toNumber(a, &okA);
            const double y = ReportFormat::toNumber(b, &okB);
            if (okA && okB)
                return x + y;
            return ReportFormat::display(a) + ReportFormat::display(b);
        }
        if (op == QLatin1String("-"))
            return ReportFormat::toNumber(a) - ReportFormat::toNumber(b);
        if (op == QLatin1String("*"))
            return ReportFormat::toNumber(a) * ReportFormat::toNumber(b);
        if (op == QLatin1String("/")) {
            const double d = ReportFormat::toNumber(b);
            if (d == 0)
                return 0.0; // a report divides by zero counts as nothing, not as a failed print
            return ReportFormat::toNumber(a) / d;
        }
        const int c = exprCompare(a, b);
        if (op == QLatin1String("="))
            return c == 0;
        if (op == QLatin1String("<>"))
            return c != 0;
        if (op == QLatin1String("<"))
            return c < 0;
        if (op == QLatin1String(">"))
            return c > 0;
        if (op == QLatin1String("<="))
            return c <= 0;
        if (op == QLatin1String(">="))
            return c >= 0;
        return {};
    }
    case ReportExprNode::Call: {
        const QString fn = node->name.toUpper();
        if (fn == QLatin1String("SUM") || fn == QLatin1String("COUNT") || fn == QLatin1String("AVG")
            || fn == QLatin1String("MIN") || fn == QLatin1String("MAX"))
            return ctx.aggregate(fn, node->args.value(0));
        if (fn == QLatin1String("IIF")) {
            if (node->args.size() != 3) {
                ctx.reportError(QStringLiteral("IIF 需要三个参数"));
                return {};
            }
            return exprTruth(evaluate(node->args[0], ctx)) ? evaluate(node->args[1], ctx)
                                                           : evaluate(node->args[2], ctx);
        }
        QVariantList args;
        for (const auto& a : node->args)
            args << evaluate(a, ctx);
        if (fn == QLatin1String("FORMATFLOAT") && args.size() == 2)
            return ReportFormat::formatNumber(ReportFormat::toNumber(args[1]), args[0].toString());
        if (fn == QLatin1String("FORMATDATETIME") && args.size() == 2)
            return ReportFormat::display(args[1], args[0].toString());
        if (fn == QLatin1String("TRIM") && args.size() == 1)
            return ReportFormat::display(args[0]).trimmed();
        if (fn == QLatin1String("ROUND") && !args.isEmpty()) {
            const int dec = args.size() > 1 ? int(ReportFormat::toNumber(args[1])) : 0;
            return ReportFormat::formatNumber(ReportFormat::toNumber(args[0]),
                dec > 0 ? QStringLiteral("0.") + QString(dec, QLatin1Char('0')) : QStringLiteral("0"))
                .toDouble();
        }
        bool found = false;
        const QVariant v = ReportFunctions::call(node->name, args, &found);
        if (!found)
            ctx.reportError(QStringLiteral("未知的函数：%1").arg(node->name));
        return v;
    }
    }
    return {};
}

QList<ReportTextPart> parseText(const QString& text, QStringList* errors)
{
    QList<ReportTextPart> parts;
    QString literal;
    int i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('[')) {
            // Find the matching bracket, skipping quoted texts.
            int depth = 1, j = i + 1;
            QChar quote;
            for (; j < text.size(); ++j) {
                const QChar d = text.at(j);
                if (!quote.isNull()) {
                    if (d == quote)
                        quote = QChar();
                    continue;
                }
                if (d == QLatin1Char('\'') || d == QLatin1Char('"'))
                    quote = d;
                else if (d == QLatin1Char('['))
                    ++depth;
                else if (d == QLatin1Char(']') && --depth == 0)
                    break;
            }
            if (j >= text.size()) {
                literal += text.mid(i);
                if (errors)
                    *errors << QStringLiteral("缺少 ]：%1").arg(text.mid(i));
                break;
            }
            const QString src = text.mid(i + 1, j - i - 1);
            QString err;
            auto expr = parse(src, &err);
            if (!expr) {
                literal += text.mid(i, j - i + 1);
                if (errors)
                    *errors << QStringLiteral("[%1]：%2").arg(src, err);
            } else {
                if (!literal.isEmpty())
                    parts.append({literal, nullptr, QString()});
                literal.clear();
                parts.append({QString(), expr, src});
            }
            i = j + 1;
            continue;
        }
        literal += c;
        ++i;
    }
    if (!literal.isEmpty())
        parts.append({literal, nullptr, QString()});
    return parts;
}

QString firstDataSet(const ReportExprPtr& node)
{
    if (!node)
        return {};
    if (node->kind == ReportExprNode::Field)
        return node->dataSet;
    for (const auto& a : node->args) {
        const QString s = firstDataSet(a);
        if (!s.isEmpty())
            return s;
    }
    return {};
}

bool usesName(const ReportExprPtr& node, const QString& name)
{
    if (!node)
        return false;
    if (node->kind == ReportExprNode::Name && node->name.compare(name, Qt::CaseInsensitive) == 0)
        return true;
    for (const auto& a : node->args)
        if (usesName(a, name))
            return true;
    return false;
}
} // namespace ReportExpression
