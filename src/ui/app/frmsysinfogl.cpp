#include "frmsysinfogl.h"

#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "app/sysoptionsservice.h"
#include "data/datamodule.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
const char* const kSysInfoGlFieldNames[11]
    = {"ZF1", "ZF2", "ZF3", "ZF4", "ZF5", "SZ1", "SZ2", "SZ3", "RQ1", "RQ2", "RQ3"};
const char* const kSysInfoGlFieldLabels[11] = {"字符项一", "字符项二", "字符项三", "字符项四", "字符项五", "数值项一",
    "数值项二", "数值项三", "日期项一", "日期项二", "日期项三"};
} // namespace

TfrmSysInfoGl::TfrmSysInfoGl(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSysInfoGl"));
    setWindowTitle(QStringLiteral("软件当前设置"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));

    // Page 1: the options.
    auto* page1 = new QWidget(pages);
    page1->setObjectName(QStringLiteral("TabSheet1"));
    auto* p1 = new QVBoxLayout(page1);
    auto* decimals = new QGroupBox(QStringLiteral("保留小数点位数"), page1);
    decimals->setObjectName(QStringLiteral("gbDecimals"));
    auto* dl = new QHBoxLayout(decimals);
    auto spin = [decimals, dl](const QString& name, const QString& caption) {
        auto* s = new QSpinBox(decimals);
        s->setObjectName(name);
        s->setRange(0, 10);
        dl->addWidget(new QLabel(caption, decimals));
        dl->addWidget(s);
        return s;
    };
    rceAmount = spin(QStringLiteral("rceAmount"), QStringLiteral("数量："));
    rcePrice = spin(QStringLiteral("rcePrice"), QStringLiteral("单价："));
    rceTotal = spin(QStringLiteral("rceTotal"), QStringLiteral("金额："));
    dl->addStretch(1);
    p1->addWidget(decimals);

    auto* modeBox = new QGroupBox(QStringLiteral("商品计价方式"), page1);
    modeBox->setObjectName(QStringLiteral("rgMode"));
    auto* ml = new QHBoxLayout(modeBox);
    m_mode = new QButtonGroup(this);
    const QString modes[3] = {QStringLiteral("固定单价"), QStringLiteral("移动加权平均"), QStringLiteral("平均成本法")};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(modes[i], modeBox);
        r->setObjectName(QStringLiteral("rbMode%1").arg(i));
        m_mode->addButton(r, i);
        ml->addWidget(r);
    }
    p1->addWidget(modeBox);

    auto check = [page1, p1](const QString& name, const QString& caption) {
        auto* c = new QCheckBox(caption, page1);
        c->setObjectName(name);
        p1->addWidget(c);
        return c;
    };
    cbB1 = check(QStringLiteral("cbB1"), QStringLiteral("是否支持负库存"));
    cbB2 = check(QStringLiteral("cbB2"), QStringLiteral("自动生成货品编码"));
    auto* note
        = new QLabel(QStringLiteral("    * 注意：如果选择自动货品编号，最好在使用些设置前，清空货品资料重新录入，"
                                    "否则有可能造成数据编号的错误！"),
            page1);
    note->setObjectName(QStringLiteral("lblNote"));
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #a03030;"));
    p1->addWidget(note);
    cbB3 = check(QStringLiteral("cbB3"), QStringLiteral("显示上次单价"));
    cbB4 = check(QStringLiteral("cbB4"), QStringLiteral("显示上次本客户单价"));
    cbTM = check(QStringLiteral("cbTM"), QStringLiteral("启用条码输入"));
    // The two last-price options exclude each other.
    connect(cbB3, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            cbB4->setChecked(false);
    });
    connect(cbB4, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            cbB3->setChecked(false);
    });
    auto* printRow = new QHBoxLayout;
    rsPrintNum = new QSpinBox(page1);
    rsPrintNum->setObjectName(QStringLiteral("rsPrintNum"));
    rsPrintNum->setRange(5, 20);
    printRow->addWidget(new QLabel(QStringLiteral("打印固定行数："), page1));
    printRow->addWidget(rsPrintNum);
    printRow->addStretch(1);
    p1->addLayout(printRow);
    p1->addStretch(1);
    pages->addTab(page1, QStringLiteral(" 软件设置 "));

    // Page 2: the user-defined fields.
    auto* page2 = new QWidget(pages);
    page2->setObjectName(QStringLiteral("TabSheet2"));
    auto* p2 = new QVBoxLayout(page2);
    auto* info = new QLabel(QStringLiteral("货品资料中的自定义项目，根据你的需要，可以自定义字段名称 \n"
                                           "字符项1--字符项5为文本型;  数值项1--数值项3为数值型;  \n"
                                           "日期项1--日期项3为日期型"),
        page2);
    info->setObjectName(QStringLiteral("lblFields"));
    p2->addWidget(info);
    auto* grid = new QGridLayout;
    for (int i = 0; i < 11; ++i) {
        const QString n = QString::fromLatin1(kSysInfoGlFieldNames[i]);
        m_fieldShown[i] = new QCheckBox(QString::fromUtf8(kSysInfoGlFieldLabels[i]), page2);
        m_fieldShown[i]->setObjectName(QStringLiteral("cb") + n);
        m_fieldCaption[i] = new QLineEdit(page2);
        m_fieldCaption[i]->setObjectName(QStringLiteral("edt") + n);
        QLineEdit* edit = m_fieldCaption[i];
        // A caption can be typed only while its field is in use.
        connect(m_fieldShown[i], &QCheckBox::toggled, edit, &QWidget::setEnabled);
        grid->addWidget(m_fieldShown[i], i, 0);
        grid->addWidget(edit, i, 1);
    }
    p2->addLayout(grid);
    p2->addStretch(1);
    pages->addTab(page2, QStringLiteral("自定义字段"));
    layout->addWidget(pages);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* btnOk = new QPushButton(QStringLiteral("确定"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    auto* btnClose = new QPushButton(QStringLiteral("关闭"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setAutoDefault(false);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);
    connect(btnOk, &QPushButton::clicked, this, &TfrmSysInfoGl::btnOkClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    loadValues();
    resize(520, 460);
}

void TfrmSysInfoGl::loadValues()
{
    const SysOptions& o = SysOptions::current();
    const Session& s = Session::current();
    for (int i = 0; i < 11; ++i) {
        m_fieldCaption[i]->setText(s.zfCaptions[i]);
        m_fieldShown[i]->setChecked(s.zfShown[i]);
        m_fieldCaption[i]->setEnabled(s.zfShown[i]);
    }
    rceAmount->setValue(o.iAmount);
    rcePrice->setValue(o.iPrice);
    rceTotal->setValue(o.iTotal);
    cbB1->setChecked(o.negativeStock);
    cbB2->setChecked(o.autoGoodsCode);
    // Set b4 first: if both were stored, the last-price mode says b3 wins, and so does the box.
    cbB4->setChecked(o.lastPriceClient);
    cbB3->setChecked(o.lastPrice);
    cbTM->setChecked(o.barcodeInput);
    if (QAbstractButton* b = m_mode->button(o.costingMode))
        b->setChecked(true);
    rsPrintNum->setValue(o.printNum);
}

bool TfrmSysInfoGl::btnOkClick()
{
    SysOptions o = SysOptions::current();
    o.iAmount = rceAmount->value();
    o.iPrice = rcePrice->value();
    o.iTotal = rceTotal->value();
    o.negativeStock = cbB1->isChecked();
    o.autoGoodsCode = cbB2->isChecked();
    o.lastPrice = cbB3->isChecked();
    o.lastPriceClient = cbB4->isChecked();
    o.barcodeInput = cbTM->isChecked();
    o.costingMode = m_mode->checkedId() >= 0 ? m_mode->checkedId() : o.costingMode;
    o.printNum = rsPrintNum->value();
    QString captions[11];
    bool shown[11];
    for (int i = 0; i < 11; ++i) {
        captions[i] = m_fieldCaption[i]->text();
        shown[i] = m_fieldShown[i]->isChecked();
    }
    DataModule* d = DataModule::instance();
    if (!SysOptionsService::save(
            o, captions, shown, d ? d->config() : nullptr, SysOptions::current(), Session::current()))
        return false;
    ShowMess(savedText(), Messenger::Information);
    accept();
    return true;
}
