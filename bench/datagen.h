#pragma once

#include <QString>

class Connection;

// Fills an empty Kelmora database (schema and first rows present) with a
// believable business: a category tree, goods with Chinese names, depots,
// clients, suppliers, departments, employees, opening stock, and documents of
// all thirteen kinds in realistic proportions, in date order, with line costs
// that follow the kinds' cost rules (moving average over all depots).
class DataGenerator
{
public:
    struct Size
    {
        int goods = 100000;
        int depots = 20;
        qint64 lines = 1000000;
        quint32 seed = 20240115;
    };

    bool generate(Connection& connection, const Size& size);
    QString errorString() const { return m_error; }
    QString summary() const { return m_summary; }

private:
    QString m_error;
    QString m_summary;
};
