#include "reportfonts.h"

#include <QFont>
#include <QStringList>

namespace ReportFonts {
void installSubstitutions()
{
    // Song-style text maps to AR PL UMing, which extracts cleanly from PDFs.
    const QStringList song
        = {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"), QStringLiteral("WenQuanYi Micro Hei")};
    for (const char* name : {"宋体", "SimSun", "新宋体", "NSimSun", "仿宋", "FangSong", "楷体", "KaiTi"})
        QFont::insertSubstitutions(QString::fromUtf8(name), song);
    const QStringList sans = {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("AR PL UMing CN")};
    for (const char* name : {"黑体", "SimHei", "微软雅黑", "Microsoft YaHei"})
        QFont::insertSubstitutions(QString::fromUtf8(name), sans);
}
} // namespace ReportFonts
