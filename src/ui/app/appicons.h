#pragma once

#include <QIcon>
#include <QString>

// The program's pictures: the full-colour Adwaita icons kept in the resources
// (resources/icons/adwaita), one consistent set for menus, tool bar and navigation.
namespace AppIcons {
// Registers the program's resources (pictures, help page); safe to call often.
void initResources();
// An icon by its theme name ("help-browser"); a null icon for an unknown name.
QIcon icon(const QString& name);
// The picture of a numbered action of the main window.
QIcon forAction(int code);
QString nameForAction(int code);
} // namespace AppIcons
