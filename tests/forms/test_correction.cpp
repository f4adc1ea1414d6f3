// The correction question: its text, its caption, and what Yes and No mean.
#include "forms/bcorrection.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include "modalanswerer.h"

#include <QTest>

class TestCorrection : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        UtKontainer::setText(UtKey::Caption, QStringLiteral("Administration Console for Postvane"));
    }
    void cleanup() { UtKontainer::clear(); }

    void textFollowsTheMessage()
    {
        QCOMPARE(bcorrection::questionText(QStringLiteral("Invalid domain name.")),
                 QStringLiteral("Invalid domain name.<nobr><br><br>Do you want to correct the "
                                "problem?</nobr>"));
    }

    void answerDecides_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("correct");
        QTest::newRow("yes corrects") << QMessageBox::Yes << true;
        QTest::newRow("no lets the value stand") << QMessageBox::No << false;
    }

    void answerDecides()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        ModalAnswerer answerer(answer);
        bool hadYesAndNoOnly = false;
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                hadYesAndNoOnly = box->standardButtons() == (QMessageBox::Yes | QMessageBox::No);
            }
        });
        probe.start(5);
        const bool correct = bcorrection::askToCorrect(nullptr, QStringLiteral("Bad port."));
        QTEST(correct, "correct");
        QCOMPARE(answerer.captions, QStringList{"Administration Console for Postvane"});
        QCOMPARE(answerer.texts, QStringList{bcorrection::questionText("Bad port.")});
        QVERIFY(hadYesAndNoOnly);
    }
};

QTEST_MAIN(TestCorrection)
#include "test_correction.moc"
