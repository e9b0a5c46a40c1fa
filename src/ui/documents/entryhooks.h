#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;
class TFrmDeptGl;

// The windows of other subsystems the entry windows open: the partner picker,
// the goods editing window, the Excel import and the document print service.
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
// Printing (design false: preview and print) or designing one template of the
// shown document; the window passes itself for its header and lines.
using DocumentPrint = std::function<void(TFrmDeptGl* window, const QString& templateName, bool design)>;

void setClientPicker(const ClientPicker& f);
void setGoodsEditor(const GoodsEditor& f);
void setExcelImport(const ExcelImport& f);
void setDocumentPrint(const DocumentPrint& f);
const ClientPicker& clientPicker();
const GoodsEditor& goodsEditor();
const ExcelImport& excelImport();
const DocumentPrint& documentPrint();
} // namespace EntryHooks
