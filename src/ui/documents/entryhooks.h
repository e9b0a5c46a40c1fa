#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;
class TFrmDeptGl;

// The windows of other subsystems the entry windows open: the partner picker,
// the goods editing window and the Excel import.
// The program wires them when it starts (registerEntryWindows); a window whose
// hook is not set keeps the button that would open it disabled.
namespace EntryHooks {
// Partner picker: mode 0 suppliers, 1 clients; the current text is the filter.
// Returns the chosen name, nullopt when the operator closed it.
using ClientPicker = std::function<std::optional<QString>(QWidget* parent, int mode, const QString& current)>;
// Goods editing window in its new-good state; autoCode (when not empty) goes into
// its code field, read-only.
using GoodsEditor = std::function<void(QWidget* parent, const QString& autoCode)>;
// Excel import into the window's lines (target type of the kind).
using ExcelImport = std::function<void(TFrmDeptGl* window, int targetType)>;

void setClientPicker(const ClientPicker& f);
void setGoodsEditor(const GoodsEditor& f);
void setExcelImport(const ExcelImport& f);
const ClientPicker& clientPicker();
const GoodsEditor& goodsEditor();
const ExcelImport& excelImport();
} // namespace EntryHooks
