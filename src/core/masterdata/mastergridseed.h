#pragma once

#include <QList>
#include <QString>

class Connection;

// One designed column of a master-data grid, as stored in cfg_grid.
struct GridColumnSeed
{
    QString field;
    QString caption;
    int width = 80;
    int footerType = 0; // 1 fixed text, 2 sum
    QString footerValue;
    int alignment = 0; // 0 left, 1 centre, 2 right
    bool visible = true;
};

// The designed columns of the goods list ("goodgl") and the partner lists
// ("cltman", "supman"), and their cfg_grid rows.
class MasterGridSeed
{
public:
    static QStringList keys();
    static QList<GridColumnSeed> columns(const QString& gridKey);
    // Inserts the rows of every key that has none yet (new databases and the
    // schema migration). Runs in the caller's transaction.
    static bool seed(Connection& connection, QString* error);
};
