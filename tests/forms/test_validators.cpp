#include "forms/bdummylineedit.h"
#include "forms/bportedit.h"
#include "forms/bpwdlineedit.h"
#include "forms/bspinbox.h"
#include "forms/groupvalidator.h"
#include "forms/pvnuserloginvalidator.h"
#include "forms/utfaxvalidators.h"
#include "forms/utipvalidator.h"
#include "forms/utjoinvalidator.h"
#include "forms/utlengthvalidator.h"
#include "forms/utmailaddressvalidator.h"
#include "forms/utnumvalidator.h"
#include "forms/utportvalidator.h"

#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "modalanswerer.h"

#include <QClipboard>
#include <QRegularExpressionValidator>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using State = QValidator::State;
Q_DECLARE_METATYPE(State)

namespace {

State check(const QValidator &validator, const QString &text)
{
    QString copy = text;
    int pos = int(copy.size());
    const State state = validator.validate(copy, pos);
    if (copy != text)
        qFatal("a validator changed the text");
    return state;
}

constexpr State Invalid = QValidator::Invalid;
constexpr State Intermediate = QValidator::Intermediate;
constexpr State Acceptable = QValidator::Acceptable;

// A validator with a fixed answer, to drive the joined validators.
class FixedValidator : public QValidator
{
public:
    explicit FixedValidator(State state)
        : m_state(state)
    { }
    State validate(QString &text, int &) const override
    {
        text += QLatin1Char('!'); // must not leak into the joined result
        return m_state;
    }

private:
    State m_state;
};

} // namespace

class TestValidators : public QObject
{
    Q_OBJECT

private slots:
    void ipAddresses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<State>("expected");
        QTest::newRow("complete") << "192.168.1.1" << Acceptable;
        QTest::newRow("three parts") << "192.168.1" << Intermediate;
        QTest::newRow("trailing dot") << "192.168.1." << Intermediate;
        QTest::newRow("empty") << "" << Intermediate;
        QTest::newRow("empty inner part") << "10..1.1" << Intermediate;
        QTest::newRow("part above 255") << "192.168.1.256" << Invalid;
        QTest::newRow("four digits") << "1.1.1.0255" << Invalid;
        QTest::newRow("five parts") << "1.1.1.1.1" << Invalid;
        QTest::newRow("letter") << "1.1.a.1" << Invalid;
        QTest::newRow("space") << "1.1.1.1 " << Invalid;
        QTest::newRow("zeros") << "0.0.0.0" << Acceptable;
    }
    void ipAddresses()
    {
        QFETCH(QString, text);
        QFETCH(State, expected);
        QCOMPARE(check(UtIPValidator(), text), expected);
    }

    void ports_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("lists");
        QTest::addColumn<bool>("zeroAllowed");
        QTest::addColumn<State>("expected");
        QTest::newRow("list of ports and a range")
                << "25,110,1000-2000" << true << false << Acceptable;
        QTest::newRow("too high") << "70000" << true << false << Invalid;
        QTest::newRow("too high single") << "70000" << false << false << Invalid;
        QTest::newRow("maximum") << "65535" << false << false << Acceptable;
        QTest::newRow("zero refused") << "0" << false << false << Intermediate;
        QTest::newRow("zero allowed") << "0" << false << true << Acceptable;
        QTest::newRow("empty") << "" << false << false << Intermediate;
        QTest::newRow("empty allowed") << "" << true << true << Acceptable;
        QTest::newRow("list without lists") << "25,26" << false << false << Invalid;
        QTest::newRow("range without lists") << "1-2" << false << false << Invalid;
        QTest::newRow("trailing comma") << "25," << true << false << Intermediate;
        QTest::newRow("open range") << "1000-" << true << false << Intermediate;
        QTest::newRow("reversed range") << "2000-1000" << true << false << Intermediate;
        QTest::newRow("range end too high") << "1-70000" << true << false << Invalid;
        QTest::newRow("two dashes") << "1-2-3" << true << false << Invalid;
        QTest::newRow("letter") << "25,x" << true << false << Invalid;
        QTest::newRow("bad item after incomplete one") << "25,,99999" << true << false << Invalid;
        QTest::newRow("huge digit run") << "99999999999999999999" << false << false << Invalid;
    }
    void ports()
    {
        QFETCH(QString, text);
        QFETCH(bool, lists);
        QFETCH(bool, zeroAllowed);
        QFETCH(State, expected);
        UtPortValidator validator(1, 65535, lists);
        validator.setZeroAllowed(zeroAllowed);
        QCOMPARE(check(validator, text), expected);
    }

    void portEditMessages_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("good list") << "25,110,1000-2000"
                                   << "";
        QTest::newRow("bad range") << "2000-1000"
                                   << "Invalid port or port range.";
        QTest::newRow("bad list") << "25,0"
                                  << "Invalid port list.";
        QTest::newRow("bad port") << "0"
                                  << "Invalid port number.";
    }
    void portEditMessages()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        BPortEdit edit;
        edit.setProperty("ListOfPortsAndRanges", true);
        QVERIFY(edit.listOfPortsAndRanges());
        edit.setText(text);
        QCOMPARE(edit.problem(), message);
    }

    void portEditCheckBringsItsTabForward()
    {
        UtKontainer::setText(UtKey::Caption, "Caption");
        QTabWidget tabs;
        tabs.addTab(new QWidget, "first");
        auto *page = new QWidget;
        auto *edit = new BPortEdit(page);
        (new QVBoxLayout(page))->addWidget(edit);
        tabs.addTab(page, "second");
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        edit->setText("0");
        ModalAnswerer answerer;
        QVERIFY(!edit->checkValue());
        QCOMPARE(answerer.texts, QStringList{"Invalid port number."});
        QCOMPARE(answerer.captions, QStringList{"Caption"});
        QCOMPARE(tabs.currentIndex(), 1);
        QCOMPARE(tabs.focusWidget(), edit);
        edit->setText("8080");
        QVERIFY(edit->checkValue());
        UtKontainer::clear();
    }

    void byteLength_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("limit");
        QTest::addColumn<State>("expected");
        QTest::newRow("ten two-byte characters over 15")
                << QString(10, QChar(0x00e9)) << 15 << Invalid;
        QTest::newRow("ten two-byte characters at 20")
                << QString(10, QChar(0x00e9)) << 20 << Acceptable;
        QTest::newRow("ascii at the limit") << QString(15, 'a') << 15 << Acceptable;
        QTest::newRow("three-byte characters") << QString(5, QChar(0x20ac)) << 14 << Invalid;
        QTest::newRow("empty") << "" << 0 << Acceptable;
    }
    void byteLength()
    {
        QFETCH(QString, text);
        QFETCH(int, limit);
        QFETCH(State, expected);
        QCOMPARE(check(UtLengthValidator(limit), text), expected);
    }

    void byteLengthDefersToInner()
    {
        UtLengthValidator validator(20, new UtIPValidator);
        QCOMPARE(check(validator, "10.0.0"), Intermediate);
        QCOMPARE(check(validator, "10.0.0.1"), Acceptable);
        UtLengthValidator tight(5, new UtIPValidator);
        QCOMPARE(check(tight, "10.0.0.1"), Invalid);
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<State>("expected");
        QTest::newRow("empty") << "" << 1 << 100 << Intermediate;
        QTest::newRow("in range") << "42" << 1 << 100 << Acceptable;
        QTest::newRow("above") << "101" << 1 << 100 << Invalid;
        QTest::newRow("below") << "0" << 1 << 100 << Intermediate;
        QTest::newRow("dash, negative allowed") << "-" << -5 << 5 << Intermediate;
        QTest::newRow("dash, negative refused") << "-" << 0 << 5 << Invalid;
        QTest::newRow("negative refused") << "-1" << 0 << 5 << Invalid;
        QTest::newRow("negative in range") << "-5" << -5 << 5 << Acceptable;
        QTest::newRow("negative below") << "-6" << -5 << 5 << Intermediate;
        QTest::newRow("letters") << "4a" << 0 << 100 << Invalid;
        QTest::newRow("plus sign") << "+4" << 0 << 100 << Invalid;
        QTest::newRow("overflowing") << "99999999999999999999999" << 0 << 100 << Invalid;
    }
    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(State, expected);
        QCOMPARE(check(UtNumValidator<int>(minimum, maximum), text), expected);
    }

    void numbersOfOtherTypes()
    {
        UtNumValidator<quint16> port(0, 65535);
        QCOMPARE(check(port, "65536"), Invalid);
        QCOMPARE(check(port, "-1"), Invalid);
        UtNumValidator<qint64> big(0, std::numeric_limits<qint64>::max());
        QCOMPARE(check(big, "9223372036854775807"), Acceptable);
        QCOMPARE(check(big, "9223372036854775808"), Invalid);
        UtNumValidator<quint64> huge;
        QCOMPARE(check(huge, "18446744073709551615"), Acceptable);
    }

    void mailAddresses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("flags");
        QTest::addColumn<State>("expected");
        QTest::newRow("empty") << "" << 0 << Intermediate;
        QTest::newRow("address") << "john.doe@example.com" << 0 << Acceptable;
        QTest::newRow("two at") << "a@b@c" << 0 << Invalid;
        QTest::newRow("dot before at") << "john.@example.com" << 0 << Invalid;
        QTest::newRow("dot after at") << "john@.example.com" << 0 << Invalid;
        QTest::newRow("two dots") << "john..doe@example.com" << 0 << Invalid;
        QTest::newRow("leading dot") << ".john@example.com" << 0 << Invalid;
        QTest::newRow("trailing dot") << "john@example." << 0 << Intermediate;
        QTest::newRow("no at") << "john" << 0 << Intermediate;
        QTest::newRow("at first") << "@example.com" << 0 << Intermediate;
        QTest::newRow("at last") << "john@" << 0 << Intermediate;
        QTest::newRow("space") << "jo hn@example.com" << 0 << Invalid;
        QTest::newRow("comma") << "a,b@example.com" << 0 << Invalid;
        QTest::newRow("angle") << "<a@example.com" << 0 << Invalid;
        QTest::newRow("non ascii") << QString::fromUtf8("jöhn@example.com") << 0 << Invalid;
        QTest::newRow("plus and dash") << "a+b-c@ex-ample.com" << 0 << Acceptable;
        QTest::newRow("local part") << "john.doe" << 1 << Acceptable;
        QTest::newRow("local part with at") << "john@x" << 1 << Invalid;
        QTest::newRow("local part trailing dot") << "john." << 1 << Intermediate;
    }
    void mailAddresses()
    {
        QFETCH(QString, text);
        QFETCH(int, flags);
        QFETCH(State, expected);
        QCOMPARE(check(UtMailAddressValidator(flags), text), expected);
    }

    void joins_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<int>>("members"); // state*4 + inverted*1 + softened*2
        QTest::addColumn<State>("expected");
        auto m = [](State s, bool inverted = false, bool softened = false) {
            return int(s) * 4 + (inverted ? 1 : 0) + (softened ? 2 : 0);
        };
        QTest::newRow("all, none") << 0 << QList<int>{} << Acceptable;
        QTest::newRow("any, none") << 1 << QList<int>{} << Invalid;
        QTest::newRow("all, one invalid") << 0 << QList<int>{m(Acceptable), m(Invalid)} << Invalid;
        QTest::newRow("all, intermediate")
                << 0 << QList<int>{m(Acceptable), m(Intermediate)} << Intermediate;
        QTest::newRow("any, one acceptable")
                << 1 << QList<int>{m(Invalid), m(Acceptable)} << Acceptable;
        QTest::newRow("any, intermediate")
                << 1 << QList<int>{m(Invalid), m(Intermediate)} << Intermediate;
        QTest::newRow("inverted acceptable") << 0 << QList<int>{m(Acceptable, true)} << Invalid;
        QTest::newRow("inverted intermediate")
                << 0 << QList<int>{m(Intermediate, true)} << Acceptable;
        QTest::newRow("inverted invalid") << 0 << QList<int>{m(Invalid, true)} << Acceptable;
        QTest::newRow("softened invalid")
                << 0 << QList<int>{m(Invalid, false, true)} << Intermediate;
        QTest::newRow("inverted and softened")
                << 0 << QList<int>{m(Acceptable, true, true)} << Intermediate;
        QTest::newRow("any, inverted")
                << 1 << QList<int>{m(Acceptable, true), m(Invalid)} << Invalid;
    }
    void joins()
    {
        QFETCH(int, mode);
        QFETCH(QList<int>, members);
        QFETCH(State, expected);
        UtJoinValidator join{UtJoinValidator::Mode(mode)};
        for (int member : members)
            join.addValidator(new FixedValidator(State(member / 4)), member & 1, member & 2);
        QCOMPARE(check(join, "text"), expected);
    }

    void loginNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("refuseReserved");
        QTest::addColumn<State>("expected");
        QTest::newRow("plain") << "john.doe" << false << Acceptable;
        QTest::newRow("empty") << "" << false << Intermediate;
        QTest::newRow("space") << "john doe" << false << Invalid;
        QTest::newRow("at") << "john@x" << false << Invalid;
        QTest::newRow("128 characters") << QString(128, 'a') << false << Invalid;
        QTest::newRow("127 characters") << QString(127, 'a') << false << Acceptable;
        QTest::newRow("store file name") << "settings.usr" << false << Intermediate;
        QTest::newRow("store file name, other case") << "Index.FLD" << false << Intermediate;
        QTest::newRow("device") << "con" << false << Intermediate;
        QTest::newRow("device prefix") << "console" << false << Acceptable;
        QTest::newRow("device and dot") << "com1.x" << false << Invalid;
        QTest::newRow("device and dot, other case") << "LPT9.a" << false << Invalid;
        QTest::newRow("leading dot") << ".john" << false << Invalid;
        QTest::newRow("trailing dot") << "john." << false << Intermediate;
        QTest::newRow("two dots") << "jo..hn" << false << Invalid;
        QTest::newRow("anyone allowed") << "anyone" << false << Acceptable;
        QTest::newRow("anyone refused") << "anyone" << true << Intermediate;
        QTest::newRow("authuser refused") << "AuthUser" << true << Intermediate;
        QTest::newRow("anyone2 fine") << "anyone2" << true << Acceptable;
    }
    void loginNames()
    {
        QFETCH(QString, text);
        QFETCH(bool, refuseReserved);
        QFETCH(State, expected);
        PvnUserLoginValidator validator(PvnUserLoginValidator::defaultPattern(), refuseReserved);
        QCOMPARE(check(validator, text), expected);
    }

    void domainNamesUseTheirOwnPattern()
    {
        PvnUserLoginValidator domain(QStringLiteral("[.0-9a-zA-Z-]{0,67}"));
        QCOMPARE(check(domain, "example.com"), Acceptable);
        QCOMPARE(check(domain, "exa_mple.com"), Invalid);
        QCOMPARE(check(domain, QString(68, 'a')), Invalid);
        QCOMPARE(check(domain, "example."), Intermediate);
    }

    void groupNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<State>("expected");
        QTest::newRow("plain") << "Sales team" << Acceptable;
        QTest::newRow("empty") << "" << Intermediate;
        QTest::newRow("comma") << "a,b" << Invalid;
        QTest::newRow("at") << "a@b" << Invalid;
        QTest::newRow("bracket") << "a[b]" << Invalid;
        QTest::newRow("at the limit") << QString(10, 'g') << Acceptable;
        QTest::newRow("over the limit") << QString(11, 'g') << Invalid;
    }
    void groupNames()
    {
        QFETCH(QString, text);
        QFETCH(State, expected);
        QCOMPARE(check(GroupValidator(10), text), expected);
    }

    void faxFields()
    {
        UtFaxPrefixValidator prefix;
        QCOMPARE(check(prefix, ""), Acceptable);
        QCOMPARE(check(prefix, "0,*31#"), Acceptable);
        QCOMPARE(check(prefix, "0a"), Invalid);
        QCOMPARE(check(prefix, QString(17, '1')), Invalid);
        UtFaxNumberValidator number;
        QCOMPARE(check(number, "+49 (30) 123-456"), Acceptable);
        QCOMPARE(check(number, ""), Intermediate);
        QCOMPARE(check(number, "+"), Intermediate);
        QCOMPARE(check(number, "12+3"), Invalid);
        QCOMPARE(check(number, "12x"), Invalid);
    }

    void spinBoxChecksTheCleanText()
    {
        BSpinBox box;
        box.setRange(5, 50);
        box.setPrefix("every ");
        box.setSuffix(" min");
        QString text = "every 20 min";
        int pos = 0;
        QCOMPARE(box.validate(text, pos), Acceptable);
        text = "every 60 min";
        QCOMPARE(box.validate(text, pos), Invalid);
        text = "every 2 min";
        QCOMPARE(box.validate(text, pos), Intermediate);
        QSignalSpy changed(&box, &QSpinBox::valueChanged);
        box._setValue(30);
        QCOMPARE(box.value(), 30);
        QCOMPARE(changed.count(), 0);
        box.stepUp();
        QCOMPARE(changed.count(), 1);
    }

    void pasteRule_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept");
        QTest::newRow("no break") << "plain"
                                  << "plain";
        QTest::newRow("line feed") << "first\nsecond"
                                   << "first";
        QTest::newRow("carriage return first") << "a\rb\nc"
                                               << "a";
        QTest::newRow("break at start") << "\nrest"
                                        << "";
    }
    void pasteRule()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        BLineEdit edit;
        edit.setText("<>");
        edit.setCursorPosition(1);
        edit.insert(pasted);
        QCOMPARE(edit.text(), "<" + kept + ">");

        edit.setText("<>");
        edit.setCursorPosition(1);
        QGuiApplication::clipboard()->setText(pasted);
        if (QGuiApplication::clipboard()->text() != pasted)
            QSKIP("no clipboard on this platform");
        QTest::keySequence(&edit, QKeySequence::Paste);
        QCOMPARE(edit.text(), "<" + kept + ">");
    }

    void placeholders()
    {
        BDummyLineEdit dummy;
        QVERIFY(dummy.isDummy());
        QCOMPARE(dummy.text(), QString("[To change this setting, click here]"));
        QCOMPARE(dummy.value(), QString());

        BPwdLineEdit password;
        QCOMPARE(password.text(), QString("[To define a new password, click here]"));
        QCOMPARE(password.echoMode(), QLineEdit::Normal);
        password.setPasswordStored(true);
        QCOMPARE(password.text(), QString("[To change the saved password, click here]"));
        QVERIFY(!password.isPasswordChanged());

        QSignalSpy valid(&password, &BDummyLineEdit::signalTextIsValid);
        password.show();
        QVERIFY(QTest::qWaitForWindowExposed(&password));
        // A popup taking focus leaves the placeholder in place.
        QFocusEvent popupFocus(QEvent::FocusIn, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(&password, &popupFocus);
        QVERIFY(password.isDummy());
        QFocusEvent clickFocus(QEvent::FocusIn, Qt::MouseFocusReason);
        QCoreApplication::sendEvent(&password, &clickFocus);
        QVERIFY(!password.isDummy());
        QCOMPARE(password.text(), QString());
        QCOMPARE(password.echoMode(), QLineEdit::Password);
        QTest::keyClicks(&password, "s3cret");
        QCOMPARE(password.value(), QString("s3cret"));
        QVERIFY(password.isPasswordChanged());
        QVERIFY(!valid.isEmpty());
        QCOMPARE(valid.last().at(0).toBool(), true);

        // Leaving the field empty brings the placeholder back.
        password.clear();
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(&password, &leave);
        QVERIFY(password.isDummy());
        QCOMPARE(password.echoMode(), QLineEdit::Normal);
    }

    void placeholderReportsValidity()
    {
        BDummyLineEdit edit;
        edit.setValidator(new UtIPValidator(&edit));
        QSignalSpy valid(&edit, &BDummyLineEdit::signalTextIsValid);
        edit.removeDummy();
        edit.setText("10.0");
        QCOMPARE(valid.last().at(0).toBool(), false);
        edit.setText("10.0.0.1");
        QCOMPARE(valid.last().at(0).toBool(), true);
    }
};

QTEST_MAIN(TestValidators)
#include "test_validators.moc"
