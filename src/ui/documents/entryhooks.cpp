#include "entryhooks.h"

namespace {
struct EntryHookSet
{
    EntryHooks::ClientPicker clientPicker;
    EntryHooks::GoodsEditor goodsEditor;
    EntryHooks::ExcelImport excelImport;
};

EntryHookSet& entryHookSet()
{
    static EntryHookSet hooks;
    return hooks;
}
} // namespace

namespace EntryHooks {
void setClientPicker(const ClientPicker& f)
{
    entryHookSet().clientPicker = f;
}
void setGoodsEditor(const GoodsEditor& f)
{
    entryHookSet().goodsEditor = f;
}
void setExcelImport(const ExcelImport& f)
{
    entryHookSet().excelImport = f;
}
const ClientPicker& clientPicker()
{
    return entryHookSet().clientPicker;
}
const GoodsEditor& goodsEditor()
{
    return entryHookSet().goodsEditor;
}
const ExcelImport& excelImport()
{
    return entryHookSet().excelImport;
}
} // namespace EntryHooks
