#include "UiFixture.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QHeaderView>

// The data grid: the row a person selects and the data set's current row are one.
class TestDataGrid : public QObject {
    Q_OBJECT

    static int selectedRow(const DBGrid* grid) {
        const QModelIndexList rows = grid->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().row() : -1;
    }
    static QString indicator(const DBGrid* grid, int row) {
        return grid->model()->headerData(row, Qt::Vertical).toString();
    }

private slots:
    void init() { ScreenFixture::begin(); }

    void showsTheConfiguredColumns() {
        ReminderBook book;
        QAbstractItemModelTester tester(book.grid->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QAbstractItemModel* m = book.grid->model();
        QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Ημερομηνία"));
        QCOMPARE(m->rowCount(), book.table.recordCount());
        QCOMPARE(gridRows(*book.grid, QList<int>{0}), columnOf(book.table, 0));
        book.table.close();
        QCOMPARE(m->rowCount(), 0);
        book.table.open();
        QCOMPARE(book.grid->columnWidth(0), 90); // reopening keeps the layout
    }

    void selectionAndCurrentRowFollowEachOther_data() {
        QTest::addColumn<QString>("move");
        QTest::addColumn<int>("expected");
        QTest::newRow("data set last") << "last" << 2;
        QTest::newRow("click row") << "click" << 1;
        QTest::newRow("arrow down") << "down" << 1;
        QTest::newRow("Ctrl+End") << "ctrl+end" << 2;
        QTest::newRow("Ctrl+click on the selected row") << "ctrl+click" << 0;
        QTest::newRow("sorted newest first") << "sort" << 0;
    }
    void selectionAndCurrentRowFollowEachOther() {
        QFETCH(QString, move);
        QFETCH(int, expected);
        ReminderBook book;
        QAbstractItemModelTester tester(book.grid->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(book.showActive());
        QCOMPARE(selectedRow(book.grid), 0);
        if (move == u"last") {
            book.table.last();
        } else if (move == u"click") {
            book.clickRow(expected);
        } else if (move == u"down") {
            book.grid->setFocus();
            QTest::keyClick(book.grid, Qt::Key_Down);
        } else if (move == u"ctrl+end") {
            book.grid->setFocus();
            QTest::keyClick(book.grid, Qt::Key_End, Qt::ControlModifier);
        } else if (move == u"ctrl+click") {
            const QRect cell = book.grid->visualRect(book.grid->model()->index(0, 0));
            QTest::mouseClick(book.grid->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              cell.center());
        } else {
            book.table.next();
            book.table.setSort(QStringLiteral("HMEROMHNIA DESC"));
            QCOMPARE(book.grid->model()->index(0, 0).data().toString(),
                     QStringLiteral("31/12/2008"));
        }
        QCOMPARE(book.table.currentRow(), expected);
        QCOMPARE(selectedRow(book.grid), expected);
        QCOMPARE(indicator(book.grid, expected), DBGridModel::browseMark());
        for (int row = 0; row < book.table.rowCount(); ++row)
            if (row != expected)
                QVERIFY(indicator(book.grid, row).isEmpty());
    }

    void movingPostsAPendingEdit() {
        ReminderBook book;
        QVERIFY(book.showActive());
        book.text->setFocus();
        QTest::keyClick(book.text, Qt::Key_End);
        typeText(book.text, QStringLiteral("!"));
        QCOMPARE(indicator(book.grid, 0), DBGridModel::editMark());
        QCOMPARE(book.grid->model()->index(0, 0).data().toString(), QStringLiteral("1/1/2008"));
        book.clickRow(2);
        QCOMPARE(book.table.state(), DataSet::State::Browse);
        QCOMPARE(book.table.currentRow(), 2);
        QVERIFY(book.stored().startsWith(QStringLiteral("2008-01-01=πρώτη!;")));
        QVERIFY(Messages::shown().isEmpty());
    }

    void clickingBelowAnEmptyNewRowReachesTheRowClicked() {
        ReminderBook book;
        QVERIFY(book.showActive());
        book.navigator->click(DBNavigator::Insert);
        QCOMPARE(book.table.rowCount(), 4);
        book.clickRow(2); // the second stored reminder, shown below the new row
        QCOMPARE(book.table.state(), DataSet::State::Browse);
        QCOMPARE(book.table.rowCount(), 3);
        QCOMPARE(book.text->toPlainText(), QStringLiteral("δεύτερη"));
        QCOMPARE(book.grid->currentIndex().row(), book.table.currentRow());
    }

    void aRefusedPostKeepsTheOldRow() {
        ReminderBook book;
        book.table.beforePost = [](DataSet&) {
            throw UserError(QStringLiteral("Λείπει η ημερομηνία."));
        };
        QVERIFY(book.showActive());
        const QString before = book.stored();
        book.text->setFocus();
        typeText(book.text, QStringLiteral("x"));
        book.grid->setFocus();
        QTest::keyClick(book.grid, Qt::Key_Down);
        QCOMPARE(Messages::shownTexts(), QStringList{QStringLiteral("Λείπει η ημερομηνία.")});
        QCOMPARE(book.table.currentRow(), 0);
        QCOMPARE(book.table.state(), DataSet::State::Edit);
        QCOMPARE(selectedRow(book.grid), 0);
        QCOMPARE(book.stored(), before);
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("answer");
        QTest::newRow("Delete, Cancel") << int(Qt::NoModifier) << false;
        QTest::newRow("Ctrl+Delete, OK") << int(Qt::ControlModifier) << true;
    }
    void deleteAsksFirst() {
        QFETCH(int, modifiers);
        QFETCH(bool, answer);
        ReminderBook book;
        QAbstractItemModelTester tester(book.grid->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(book.showActive());
        book.clickRow(1);
        const int before = book.table.recordCount();
        Messages::setNextAnswers({answer});
        QTest::keyClick(book.grid, Qt::Key_Delete, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().first().kind, Messages::Kind::Confirm);
        QCOMPARE(Messages::shown().first().text, QStringLiteral("Delete record?"));
        QCOMPARE(book.table.recordCount(), answer ? before - 1 : before);
        QCOMPARE(book.db.scalar(QStringLiteral("SELECT count(*) FROM YPENTHIMISEIS")).toInt(),
                 book.table.recordCount());
        QCOMPARE(book.stored().contains(QStringLiteral("δεύτερη")), !answer);
        QCOMPARE(selectedRow(book.grid), book.table.currentRow());
    }

    // Only what is on screen is read: a long list opens and scrolls at once.
    void aHundredThousandRowsStayQuick() {
        ReminderBook book(false);
        book.db.exec(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<100000) "
            "INSERT INTO YPENTHIMISEIS SELECT date('2000-01-01', '+' || (i % 9000) || ' days'), "
            "'υπενθύμιση ' || i FROM n"));
        book.table.close();
        book.table.open();
        QCOMPARE(book.table.recordCount(), 100000);
        QVERIFY(book.showActive());
        book.table.setSort(QStringLiteral("HMEROMHNIA DESC"));
        QElapsedTimer timer;
        timer.start();
        book.grid->setDataSource(nullptr);
        book.grid->setDataSource(&book.source);
        book.table.last();
        book.table.first();
        book.table.moveTo(50000);
        QCoreApplication::processEvents();
        book.grid->viewport()->repaint();
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(selectedRow(book.grid), 50000);
        QVERIFY(book.grid->viewport()->rect().intersects(
            book.grid->visualRect(book.grid->model()->index(50000, 0))));
    }
};

QTEST_MAIN(TestDataGrid)
#include "tst_ui_grid.moc"
