#include "app/messenger.h"
#include "print/printservices.h"
#include "print/reportrenderer.h"
#include "printui/designercanvas.h"
#include "printui/printfiledialogs.h"
#include "printui/printpresenter.h"
#include "printui/reportpreview.h"
#include "printui/templatedesigner.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <QtTest>

namespace {
ReportDataSet designerHeader()
{
    ReportDataSet dm({QStringLiteral("F_Code"), QStringLiteral("F_Depot"), QStringLiteral("F_Client"),
        QStringLiteral("F_MakeDate"), QStringLiteral("F_Date"), QStringLiteral("F_Maker"), QStringLiteral("F_Auditer"),
        QStringLiteral("F_EmpName"), QStringLiteral("F_OldCode"), QStringLiteral("F_Mem")});
    dm.addRow({QStringLiteral("CGD20240115001"), QStringLiteral("一号仓库"), QStringLiteral("华南五金"),
        QStringLiteral("2024-01-15 00:00:00"), QStringLiteral("2024-01-15 00:00:00"), QStringLiteral("张三"), QString(),
        QStringLiteral("王五"), QString(), QString()});
    return dm;
}

ReportDataSet designerLines(int n)
{
    ReportDataSet dd(
        {QStringLiteral("F_GoodCode"), QStringLiteral("F_GoodName"), QStringLiteral("F_Spec"), QStringLiteral("F_Unit"),
            QStringLiteral("F_Amount"), QStringLiteral("F_Price"), QStringLiteral("F_TotalPrice")});
    for (int i = 1; i <= n; ++i)
        dd.addRow({QStringLiteral("HP%1").arg(i), QStringLiteral("螺丝%1").arg(i), QStringLiteral("M3"),
            QStringLiteral("盒"), 2.0, 5.0, 10.0});
    return dd;
}

void sendMouse(QWidget* w, QEvent::Type type, const QPointF& pos, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Presses at from, moves in steps to to, releases.
void drag(QWidget* w, const QPointF& from, const QPointF& to)
{
    sendMouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int i = 1; i <= 4; ++i)
        sendMouse(w, QEvent::MouseMove, from + (to - from) * i / 4.0, Qt::LeftButton);
    sendMouse(w, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

const PreparedItem* findItem(const PreparedPage& page, const QString& name)
{
    for (const auto& it : page.items)
        if (it.object.name == name)
            return &it;
    return nullptr;
}

void keepScreenshot(QWidget* w, const QString& name)
{
    const QString keep = qEnvironmentVariable("KELMORA_KEEP_OUTPUT");
    if (!keep.isEmpty())
        w->grab().save(QDir(keep).filePath(name));
}
} // namespace

class TestDesigner : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void previewNavigatesAndSaves();
    void moveFieldChangeFontSaveAndPreview();
    void undoRedoOfEdits();
    void dragBetweenBandsAndBandHeight();
    void insertFieldFromTree();
    void pictureFromFile();
    void closeWithChangesAsks();
    void blankTemplateFromDesign();

private:
    QTemporaryDir m_dir;
    QString m_file;
};

void TestDesigner::initTestCase()
{
    PrintPresenter::install();
    QVERIFY(m_dir.isValid());
}

void TestDesigner::init()
{
    const QString src = QDir::cleanPath(QStringLiteral(KELMORA_TEST_DATA "/../../resources/Qr/frCaigouInDept.fr3"));
    m_file = QDir(m_dir.path()).filePath(QStringLiteral("frCaigouInDept.fr3"));
    QFile::remove(m_file);
    QVERIFY(QFile::copy(src, m_file));
    QFile(m_file).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    PrintServices::setTemplateFolder(m_dir.path());
}

void TestDesigner::cleanup()
{
    PrintFileDialogs::setSaveHook({});
    PrintFileDialogs::setOpenHook({});
    PrintServices::setTemplateFolder(QString());
}

void TestDesigner::previewNavigatesAndSaves()
{
    ReportEngine engine;
    QVERIFY(
        PrintServices::documentEngine(QStringLiteral("frCaigouInDept"), designerHeader(), designerLines(7), engine));
    ReportPreview preview(engine);
    preview.show();
    QCOMPARE(preview.objectName(), QStringLiteral("frmPreview"));
    auto* label = preview.findChild<QLabel*>(QStringLiteral("lblPage"));
    QVERIFY(label);
    QCOMPARE(preview.prepared().pageCount(), 2);
    QCOMPARE(label->text(), QStringLiteral("第 1 / 2 页"));
    auto* next = preview.findChild<QToolButton*>(QStringLiteral("btnNext"));
    auto* prior = preview.findChild<QToolButton*>(QStringLiteral("btnPrior"));
    QVERIFY(!prior->isEnabled());
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(preview.currentPage(), 1);
    QCOMPARE(label->text(), QStringLiteral("第 2 / 2 页"));
    QVERIFY(!next->isEnabled());
    keepScreenshot(&preview, QStringLiteral("preview.png"));

    const QString pdf = QDir(m_dir.path()).filePath(QStringLiteral("out"));
    QString askedFilter;
    PrintFileDialogs::setSaveHook([&](const QString&, const QString&, const QString& filter) {
        askedFilter = filter;
        return pdf;
    });
    QVERIFY(preview.saveAsPdf());
    QVERIFY(askedFilter.contains(QStringLiteral("*.pdf")));
    QVERIFY(QFileInfo::exists(pdf + QStringLiteral(".pdf")));
    QFile f(pdf + QStringLiteral(".pdf"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5).startsWith("%PDF"));

    // Every export kind writes its file; a cancelled dialog writes nothing.
    for (const QString& kind :
        {QStringLiteral("png"), QStringLiteral("html"), QStringLiteral("csv"), QStringLiteral("txt")}) {
        const QString file = QDir(m_dir.path()).filePath(QStringLiteral("export.") + kind);
        PrintFileDialogs::setSaveHook([&](const QString&, const QString&, const QString&) { return file; });
        QVERIFY2(preview.exportAs(kind), qPrintable(kind));
        if (kind == QLatin1String("png"))
            QVERIFY(QFileInfo::exists(QDir(m_dir.path()).filePath(QStringLiteral("export_2.png"))));
        else
            QVERIFY(QFileInfo(file).size() > 0);
    }
    PrintFileDialogs::setSaveHook([](const QString&, const QString&, const QString&) { return QString(); });
    QVERIFY(!preview.exportAs(QStringLiteral("pdf")));

    preview.setZoom(2.0);
    QVERIFY(preview.findChild<QWidget*>(QStringLiteral("PageView"))->width() > 1500);
}

void TestDesigner::moveFieldChangeFontSaveAndPreview()
{
    ReportEngine engine;
    QVERIFY(
        PrintServices::documentEngine(QStringLiteral("frCaigouInDept"), designerHeader(), designerLines(3), engine));
    const PreparedItem* before = findItem(engine.prepare().pages[0], QStringLiteral("Memo3"));
    QVERIFY(before);
    QCOMPARE(before->text, QStringLiteral("单据编号：CGD20240115001"));
    const double oldX = before->rect.x();

    TemplateDesigner designer(engine, m_file);
    designer.show();
    QVERIFY(designer.selectObject(QStringLiteral("Memo3")));
    DesignerCanvas* canvas = designer.canvas();
    const QRectF r = canvas->objectRect(designer.selectedBand(), canvas->selectedObject());
    const double pxPerMm = canvas->zoom() * canvas->logicalDpiX() / 25.4;
    // Drag 20 mm to the right and 2 mm down.
    drag(canvas, r.center(), r.center() + QPointF(20 * pxPerMm, 2 * pxPerMm));
    QCOMPARE(designer.undoStack()->count(), 1);
    const ReportObject* o = designer.selectedObject();
    QVERIFY(o);
    QCOMPARE(o->name, QStringLiteral("Memo3"));
    QVERIFY(qAbs(o->geometry.x() - 20) <= 0.5);
    auto* spX = designer.findChild<QDoubleSpinBox*>(QStringLiteral("spX"));
    QCOMPARE(spX->value(), o->geometry.x());

    // Font through the property panel.
    designer.findChild<QComboBox*>(QStringLiteral("cbFont"))->setCurrentText(QStringLiteral("黑体"));
    designer.findChild<QDoubleSpinBox*>(QStringLiteral("spFontSize"))->setValue(12);
    designer.findChild<QCheckBox*>(QStringLiteral("chkBold"))->setChecked(true);
    QCOMPARE(designer.selectedObject()->fontFamily, QStringLiteral("黑体"));
    QCOMPARE(designer.selectedObject()->fontSize, 12.0);
    QVERIFY(designer.selectedObject()->bold);
    const double newX = designer.selectedObject()->geometry.x();
    keepScreenshot(&designer, QStringLiteral("designer.png"));

    // The designer's preview shows the unsaved edit.
    designer.previewReport();
    auto* inDesigner = designer.findChild<ReportPreview*>();
    QVERIFY(inDesigner);
    const PreparedItem* shown = findItem(inDesigner->prepared().pages[0], QStringLiteral("Memo3"));
    QVERIFY(shown);
    QCOMPARE(shown->object.fontFamily, QStringLiteral("黑体"));
    inDesigner->close();

    QVERIFY(designer.saveTemplate());
    QVERIFY(designer.undoStack()->isClean());

    // The next print loads the saved template and shows the change.
    ReportEngine again;
    QVERIFY(PrintServices::documentEngine(QStringLiteral("frCaigouInDept"), designerHeader(), designerLines(3), again));
    const PreparedReport pr = again.prepare();
    const PreparedItem* after = findItem(pr.pages[0], QStringLiteral("Memo3"));
    QVERIFY(after);
    QCOMPARE(after->text, QStringLiteral("单据编号：CGD20240115001"));
    QCOMPARE(after->object.fontFamily, QStringLiteral("黑体"));
    QCOMPARE(after->object.fontSize, 12.0);
    QVERIFY(after->object.bold);
    QVERIFY(qAbs(after->rect.x() - (oldX + newX)) < 0.01);
    if (const QString keep = qEnvironmentVariable("KELMORA_KEEP_OUTPUT"); !keep.isEmpty()) {
        ReportRenderer::exportPdf(pr, QDir(keep).filePath(QStringLiteral("after-design.pdf")));
        ReportPreview p2(again);
        p2.show();
        keepScreenshot(&p2, QStringLiteral("preview-after.png"));
    }
}

void TestDesigner::undoRedoOfEdits()
{
    ReportEngine engine;
    QVERIFY(
        PrintServices::documentEngine(QStringLiteral("frCaigouInDept"), designerHeader(), designerLines(1), engine));
    TemplateDesigner designer(engine, m_file);
    const ReportTemplate original = designer.reportTemplate();
    QVERIFY(designer.selectObject(QStringLiteral("Memo2")));
    auto* text = designer.findChild<QPlainTextEdit*>(QStringLiteral("edText"));
    text->setPlainText(QStringLiteral("采购入库单（二联）"));
    text->setPlainText(QStringLiteral("采购入库单（三联）"));
    // Typing in one field is one step.
    QCOMPARE(designer.undoStack()->count(), 1);
    designer.findChild<QCheckBox*>(QStringLiteral("chkFrameLeft"))->setChecked(true);
    designer.addObject(ReportObject::Line);
    designer.addBand(ReportBand::Summary);
    QCOMPARE(designer.undoStack()->count(), 4);
    const int bands = int(designer.reportTemplate().bands.size());
    QCOMPARE(designer.reportTemplate().bands[bands - 2].type, ReportBand::Summary); // before the page footer
    designer.deleteSelection(); // the new band
    QCOMPARE(int(designer.reportTemplate().bands.size()), bands - 1);
    const ReportTemplate edited = designer.reportTemplate();
    while (designer.undoStack()->canUndo())
        designer.undoStack()->undo();
    QVERIFY(designer.reportTemplate() == original);
    while (designer.undoStack()->canRedo())
        designer.undoStack()->redo();
    QVERIFY(designer.reportTemplate() == edited);
    QVERIFY(designer.selectObject(QStringLiteral("Memo2")));
    QCOMPARE(designer.selectedObject()->text, QStringLiteral("采购入库单（三联）"));
    QCOMPARE(designer.selectedObject()->frame, int(ReportObject::FrameLeft));
}

void TestDesigner::dragBetweenBandsAndBandHeight()
{
    ReportEngine engine;
    QVERIFY(
        PrintServices::documentEngine(QStringLiteral("frCaigouInDept"), designerHeader(), designerLines(1), engine));
    TemplateDesigner designer(engine, m_file);
    designer.show();
    DesignerCanvas* canvas = designer.canvas();
    // The page header (band 0) gets 6 mm taller by dragging its lower edge.
    const double oldHeight = designer.reportTemplate().bands[0].height;
    const QRectF area = canvas->bandArea(0);
    const double pxPerMm = canvas->zoom() * canvas->logicalDpiX() / 25.4;
    drag(canvas, QPointF(area.center().x(), area.bottom()), QPointF(area.center().x(), area.bottom() + 6 * pxPerMm));
    QVERIFY(qAbs(designer.reportTemplate().bands[0].height - (oldHeight + 6)) <= 0.5);
    // The maker (page footer) dragged up into the totals band moves there.
    QVERIFY(designer.selectObject(QStringLiteral("Memo31")));
    const int fromBand = designer.selectedBand();
    QCOMPARE(designer.reportTemplate().bands[fromBand].type, ReportBand::PageFooter);
    const QRectF r = canvas->objectRect(fromBand, canvas->selectedObject());
    const QRectF target = canvas->bandArea(fromBand - 1);
    drag(canvas, r.center(), QPointF(r.center().x(), target.top() + 3 * pxPerMm));
    QVERIFY(designer.selectObject(QStringLiteral("Memo31")));
    QCOMPARE(designer.reportTemplate().bands[designer.selectedBand()].type, ReportBand::DataFooter);
    QCOMPARE(designer.undoStack()->count(), 2);
    designer.undoStack()->undo();
    QVERIFY(designer.selectObject(QStringLiteral("Memo31")));
    QCOMPARE(designer.reportTemplate().bands[designer.selectedBand()].type, ReportBand::PageFooter);
}

void TestDesigner::insertFieldFromTree()
{
    ReportEngine engine;
    QVERIFY(
        PrintServices::documentEngine(QStringLiteral("frCaigouInDept"), designerHeader(), designerLines(1), engine));
    TemplateDesigner designer(engine, m_file);
    designer.selectBand(0);
    designer.insertExpression(QStringLiteral("[frxDM.F_Maker]"));
    const ReportObject* o = designer.selectedObject();
    QVERIFY(o);
    QCOMPARE(o->text, QStringLiteral("[frxDM.F_Maker]"));
    designer.insertExpression(QStringLiteral(" [PageMaxRow]"));
    QCOMPARE(designer.selectedObject()->text, QStringLiteral("[frxDM.F_Maker] [PageMaxRow]"));
    auto* tree = designer.findChild<QTreeWidget*>(QStringLiteral("trData"));
    QVERIFY(tree);
    QStringList tops;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        tops << tree->topLevelItem(i)->text(0);
    QVERIFY(tops.contains(QStringLiteral("frxDM")));
    QVERIFY(tops.contains(QStringLiteral("frxDD")));
    QVERIFY(tops.contains(QStringLiteral("自定义变量")));
}

void TestDesigner::pictureFromFile()
{
    ReportEngine engine;
    QVERIFY(
        PrintServices::documentEngine(QStringLiteral("frCaigouInDept"), designerHeader(), designerLines(1), engine));
    TemplateDesigner designer(engine, m_file);
    designer.selectBand(0);
    const QString png = QDir(m_dir.path()).filePath(QStringLiteral("logo.png"));
    QImage logo(8, 4, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    QVERIFY(logo.save(png));
    PrintFileDialogs::setOpenHook([&](const QString&, const QString&, const QString&) { return png; });
    designer.addObject(ReportObject::Picture);
    QVERIFY(designer.selectedObject());
    QCOMPARE(designer.selectedObject()->type, ReportObject::Picture);
    QCOMPARE(designer.selectedObject()->picture.size(), QSize(8, 4));
    // A file that is no picture is refused with a message, nothing added.
    PrintFileDialogs::setOpenHook([&](const QString&, const QString&, const QString&) { return m_file; });
    ScriptedMessenger messenger;
    const int steps = designer.undoStack()->count();
    designer.addObject(ReportObject::Picture);
    QCOMPARE(designer.undoStack()->count(), steps);
    QCOMPARE(messenger.count(), 1);
}

void TestDesigner::closeWithChangesAsks()
{
    const QByteArray saved = [&] {
        QFile f(m_file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    ReportEngine engine;
    QVERIFY(
        PrintServices::documentEngine(QStringLiteral("frCaigouInDept"), designerHeader(), designerLines(1), engine));
    {
        ScriptedMessenger messenger;
        messenger.setNextAnswer(Messenger::No);
        TemplateDesigner designer(engine, m_file);
        designer.addBand(ReportBand::Summary);
        designer.reject();
        QCOMPARE(messenger.count(), 1);
        QCOMPARE(messenger.lastKind(), int(Messenger::Question));
    }
    QFile f(m_file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), saved);
    f.close();
    {
        ScriptedMessenger messenger;
        messenger.setNextAnswer(Messenger::Yes);
        TemplateDesigner designer(engine, m_file);
        designer.addBand(ReportBand::Summary);
        designer.reject();
    }
    ReportTemplate t;
    QVERIFY(t.load(m_file));
    QCOMPARE(t.bands[t.bands.size() - 2].type, ReportBand::Summary);
}

void TestDesigner::blankTemplateFromDesign()
{
    // A presenter that keeps the designer open instead of running it modally.
    class KeepPresenter : public ReportPresenter
    {
    public:
        void preview(const ReportEngine&) override { }
        void design(const ReportEngine& engine, const QString& fileName) override
        {
            designer = std::make_unique<TemplateDesigner>(engine, fileName);
        }
        std::unique_ptr<TemplateDesigner> designer;
    } presenter;
    ReportPresenter* previous = ReportPresenter::instance();
    ReportPresenter::setInstance(&presenter);
    QTemporaryDir empty;
    PrintServices::setTemplateFolder(empty.filePath(QStringLiteral("Qr")));
    QVERIFY(PrintServices::documentDesign(QStringLiteral("frPandianInDept2"), designerHeader(), designerLines(1)));
    ReportPresenter::setInstance(previous);
    QVERIFY(presenter.designer);
    TemplateDesigner& d = *presenter.designer;
    QVERIFY(d.reportTemplate().bands.isEmpty());
    d.addBand(ReportBand::PageHeader);
    d.addObject(ReportObject::Text);
    d.insertExpression(QStringLiteral("[sCurKHname]"));
    QVERIFY(d.saveTemplate());
    ReportTemplate t;
    QVERIFY(t.load(empty.filePath(QStringLiteral("Qr/frPandianInDept2.fr3"))));
    QCOMPARE(t.bands.size(), 1);
    QCOMPARE(t.bands[0].objects.size(), 1);
    QCOMPARE(t.bands[0].objects[0].text, QStringLiteral("文本[sCurKHname]"));
    QCOMPARE(t.variable(QStringLiteral("PageMaxRow"))->value, QStringLiteral("5"));
}

QTEST_MAIN(TestDesigner)
#include "tst_designer.moc"
