#include "frmabout.h"

#include "appicons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFrmAbout::TFrmAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("关于我们"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* pic = new QLabel(this);
    pic->setPixmap(AppIcons::icon(QStringLiteral("emblem-package")).pixmap(48, 48));
    pic->setAlignment(Qt::AlignTop);
    top->addWidget(pic);
    auto* text = new QLabel(this);
    text->setObjectName(QStringLiteral("lblProduct"));
    text->setTextFormat(Qt::RichText);
    text->setText(QStringLiteral("<h3>Kelmora仓库管理软件(网络版)</h3>"
                                 "<p>版本 v3.85</p>"
                                 "<p>适用于中小企业、商店和车间的仓库管理：进货、出货、调拨、盘点、组装拆卸，"
                                 "库存随单据实时计算，提供各类统计报表，支持多个工作站共用一个数据库。</p>"
                                 "<p>图标取自 Adwaita 图标主题（GNOME 项目，LGPL-3 或 CC-BY-SA 3.0）。</p>"));
    text->setWordWrap(true);
    text->setMinimumWidth(360);
    top->addWidget(text, 1);
    layout->addLayout(top);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOk"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    adjustSize(); // placed before it is shown: the size must be known
}
