// kelmora-test: pg
#include "app/messenger.h"
#include "data/gridlayout.h"
#include "support/testdatabase.h"

#include <QSqlQuery>
#include <QtTest>

// Stored column layouts in cfg_grid: reading, writing back, and the failures.
class TestGridLayout : public QObject
{
    Q_OBJECT

private:
    static void addRow(const QString& key, const QString& field, int order, const QString& caption, int visible = 1)
    {
        QVERIFY(dm().ExecSql(QStringLiteral("insert into cfg_grid (F_name, F_fieldname, F_Order, F_Caption, F_Width, "
                                            "F_Visible, F_ReadOnly, F_DisplayFormat, F_FooterValue, F_FooterType, "
                                            "F_Alignment) values (:k, :f, :o, :c, 90, :v, 1, '', '', 0, 0)"),
            {{QStringLiteral("k"), key}, {QStringLiteral("f"), field}, {QStringLiteral("o"), order},
                {QStringLiteral("c"), caption}, {QStringLiteral("v"), visible}}));
    }

private slots:
    void loadOrderAndSkips()
    {
        TestDatabase tdb;
        KELMORA_REQUIRE_DB(tdb);
        dm().ExecSql(QStringLiteral("delete from cfg_grid"));
        addRow(QStringLiteral("goodgl"), QStringLiteral("F_Name"), 2, QStringLiteral("名称"));
        addRow(QStringLiteral("goodgl"), QStringLiteral("F_Code"), 1, QStringLiteral("编号"));
        addRow(QStringLiteral("goodgl"), QString(), 0, QStringLiteral("空"));
        addRow(QStringLiteral("goodgl"), QStringLiteral("  "), 3, QStringLiteral("空白"));
        addRow(QStringLiteral("other"), QStringLiteral("F_X"), 0, QStringLiteral("别的"));
        QList<GridColumnDef> cols;
        // The key is matched in lower case, however a window spells it.
        QCOMPARE(GridLayout::load(QStringLiteral("GoodGl"), cols), GridLayout::LoadResult::Loaded);
        QCOMPARE(cols.size(), 2);
        QCOMPARE(cols.at(0).fieldName, QStringLiteral("F_Code"));
        QCOMPARE(cols.at(1).caption, QStringLiteral("名称"));
        QVERIFY(cols.at(0).cfgId > 0);
        QCOMPARE(GridLayout::load(QStringLiteral("nosuchgrid"), cols), GridLayout::LoadResult::NoRows);
        QVERIFY(cols.isEmpty());
    }

    void saveRoundTrip()
    {
        TestDatabase tdb;
        KELMORA_REQUIRE_DB(tdb);
        dm().ExecSql(QStringLiteral("delete from cfg_grid"));
        addRow(QStringLiteral("empman"), QStringLiteral("F_Code"), 0, QStringLiteral("编号"));
        addRow(QStringLiteral("empman"), QStringLiteral("F_Name"), 1, QStringLiteral("姓名"));
        QList<GridColumnDef> cols;
        QCOMPARE(GridLayout::load(QStringLiteral("empman"), cols), GridLayout::LoadResult::Loaded);
        std::swap(cols[0], cols[1]);
        cols[0].caption = QStringLiteral("员工's 姓名"); // a quote no longer breaks the statement
        cols[0].width = 133;
        cols[0].visible = false;
        cols[0].readOnly = false;
        cols[0].alignment = GridColumnDef::AlignCenter;
        cols[0].displayFormat = QStringLiteral(",0.00");
        cols[0].footerType = GridColumnDef::FooterText;
        cols[0].footerValue = QStringLiteral("合    计");
        cols[1].footerType = GridColumnDef::FooterSum;
        ScriptedMessenger msg;
        QCOMPARE(GridLayout::save(QStringLiteral("EmpMan"), cols), 0);
        QCOMPARE(msg.count(), 0);
        QList<GridColumnDef> back;
        QCOMPARE(GridLayout::load(QStringLiteral("empman"), back), GridLayout::LoadResult::Loaded);
        QCOMPARE(back.size(), 2);
        QCOMPARE(back.at(0).fieldName, QStringLiteral("F_Name"));
        QCOMPARE(back.at(0).caption, QStringLiteral("员工's 姓名"));
        QCOMPARE(back.at(0).width, 133);
        QCOMPARE(back.at(0).visible, false);
        QCOMPARE(back.at(0).readOnly, false);
        QCOMPARE(back.at(0).alignment, int(GridColumnDef::AlignCenter));
        QCOMPARE(back.at(0).displayFormat, QStringLiteral(",0.00"));
        QCOMPARE(back.at(0).footerType, int(GridColumnDef::FooterText));
        QCOMPARE(back.at(0).footerValue, QStringLiteral("合    计"));
        QCOMPARE(back.at(1).fieldName, QStringLiteral("F_Code"));
        QCOMPARE(back.at(1).footerType, int(GridColumnDef::FooterSum));
    }

    void columnWithoutRowIsNotInserted()
    {
        TestDatabase tdb;
        KELMORA_REQUIRE_DB(tdb);
        dm().ExecSql(QStringLiteral("delete from cfg_grid"));
        addRow(QStringLiteral("cltman"), QStringLiteral("F_Code"), 0, QStringLiteral("编号"));
        GridColumnDef code;
        code.fieldName = QStringLiteral("F_Code");
        code.caption = QStringLiteral("代码");
        GridColumnDef extra;
        extra.fieldName = QStringLiteral("F_Extra");
        QCOMPARE(GridLayout::save(QStringLiteral("cltman"), {extra, code}), 0);
        QCOMPARE(dm().GetSqlInt(QStringLiteral("select count(*) from cfg_grid")), 2 - 1);
        QCOMPARE(dm().GetSqlStr(QStringLiteral("select F_Caption from cfg_grid where F_fieldname = 'F_Code'")),
            QStringLiteral("代码"));
        QCOMPARE(dm().GetSqlInt(QStringLiteral("select F_Order from cfg_grid where F_fieldname = 'F_Code'")), 1);
    }

    // One failing statement is reported and the columns after it are still saved.
    void failingColumnDoesNotStopTheRest()
    {
        TestDatabase tdb;
        KELMORA_REQUIRE_DB(tdb);
        dm().ExecSql(QStringLiteral("delete from cfg_grid"));
        addRow(QStringLiteral("supman"), QStringLiteral("F_Bad"), 0, QStringLiteral("坏"));
        addRow(QStringLiteral("supman"), QStringLiteral("F_Good"), 1, QStringLiteral("好"));
        if (tdb.isPostgres()) {
            QVERIFY(dm().ExecSql(QStringLiteral(
                "create function kel_refuse() returns trigger as $$ begin if new.F_fieldname = 'F_Bad' then "
                "raise exception 'refused'; end if; return new; end $$ language plpgsql")));
            QVERIFY(dm().ExecSql(QStringLiteral("create trigger kel_refuse before update on cfg_grid for each row "
                                                "execute function kel_refuse()")));
        } else {
            QVERIFY(
                dm().ExecSql(QStringLiteral("create trigger kel_refuse before update on cfg_grid when "
                                            "new.F_fieldname = 'F_Bad' begin select raise(abort, 'refused'); end")));
        }
        QList<GridColumnDef> cols;
        QCOMPARE(GridLayout::load(QStringLiteral("supman"), cols), GridLayout::LoadResult::Loaded);
        cols[0].caption = QStringLiteral("坏2");
        cols[1].caption = QStringLiteral("好2");
        ScriptedMessenger msg;
        QCOMPARE(GridLayout::save(QStringLiteral("supman"), cols), 1);
        QCOMPARE(msg.texts(), QStringList {DataModule::execFailText()});
        QCOMPARE(msg.lastKind(), 3);
        QCOMPARE(dm().GetSqlStr(QStringLiteral("select F_Caption from cfg_grid where F_fieldname = 'F_Good'")),
            QStringLiteral("好2"));
        QCOMPARE(dm().GetSqlStr(QStringLiteral("select F_Caption from cfg_grid where F_fieldname = 'F_Bad'")),
            QStringLiteral("坏"));
    }

    void loadErrorIsReported()
    {
        TestDatabase tdb;
        KELMORA_REQUIRE_DB(tdb);
        dm().ExecSql(QStringLiteral("drop table cfg_grid"));
        ScriptedMessenger msg;
        QList<GridColumnDef> cols;
        QCOMPARE(GridLayout::load(QStringLiteral("goodgl"), cols), GridLayout::LoadResult::Failed);
        QCOMPARE(msg.texts(), QStringList {QStringLiteral("操作失败，请检查数据连接... ")});
        QCOMPARE(msg.lastKind(), 3);
    }
};

QTEST_GUILESS_MAIN(TestGridLayout)
#include "tst_gridlayout.moc"
