#pragma once

#include <QString>

class Connection;

// The cfg_grid rows of the eleven line grids and the goods picker's list.
class EntryGridSeed
{
public:
    // Inserts the rows of every key that has none yet (new databases and the
    // schema migration); keys that already have rows keep them. Runs in the
    // caller's transaction when there is one.
    static bool seed(Connection& connection, QString* error = nullptr);
};
