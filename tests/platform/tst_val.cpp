#include "platform/Val.h"

#include <QTest>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Switches LC_NUMERIC to a locale with a decimal comma for one scope, as QCoreApplication does on Unix
// for users with such a system locale; restores the previous setting afterwards.
class CommaLocale {
public:
    CommaLocale() : previous_(std::setlocale(LC_NUMERIC, nullptr)) {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"}) {
            if (std::setlocale(LC_NUMERIC, name) && std::localeconv()->decimal_point == std::string(",")) {
                active_ = true;
                return;
            }
        }
        std::setlocale(LC_NUMERIC, previous_.c_str());
    }
    ~CommaLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    bool Active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

} // namespace

class TestVal : public QObject {
    Q_OBJECT

private slots:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("asInt");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("integer") << "32" << 32.0 << 32 << true;
        QTest::newRow("unit suffix") << "16px" << 16.0 << 16 << false;
        QTest::newRow("fraction") << "3.7" << 3.7 << 3 << true;
        QTest::newRow("negative fraction truncates towards zero") << "-3.7" << -3.7 << -3 << true;
        QTest::newRow("blanks around") << " 12 " << 12.0 << 12 << true;
        QTest::newRow("tab and newline around") << "\t7\n" << 7.0 << 7 << true;
        QTest::newRow("letters") << "abc" << 0.0 << 0 << false;
        QTest::newRow("empty") << "" << 0.0 << 0 << false;
        QTest::newRow("blanks only") << "   " << 0.0 << 0 << false;
        QTest::newRow("negative") << "-5" << -5.0 << -5 << true;
        QTest::newRow("exponent") << "1e9" << 1e9 << 1000000000 << true;
        QTest::newRow("signed exponent") << "1.5e-2" << 0.015 << 0 << true;
        QTest::newRow("upper-case exponent with plus") << "2E+3" << 2000.0 << 2000 << true;
        QTest::newRow("beyond int") << "99999999999" << 99999999999.0 << INT_MAX << true;
        QTest::newRow("int maximum") << "2147483647" << 2147483647.0 << INT_MAX << true;
        QTest::newRow("one past int minimum") << "-2147483649" << -2147483649.0 << INT_MIN << true;
        QTest::newRow("overflow") << "1e999" << kInf << INT_MAX << true;
        QTest::newRow("negative overflow") << "-1e999" << -kInf << INT_MIN << true;
        QTest::newRow("underflow") << "1e-999" << 0.0 << 0 << true;
        QTest::newRow("no integer part") << ".5" << 0.5 << 0 << true;
        QTest::newRow("no fraction digits") << "5." << 5.0 << 5 << true;
        QTest::newRow("explicit plus") << "+7" << 7.0 << 7 << true;
        QTest::newRow("exponent without digits") << "1e" << 1.0 << 1 << false;
        QTest::newRow("exponent sign without digits") << "4e-" << 4.0 << 4 << false;
        QTest::newRow("number then letters") << "12abc" << 12.0 << 12 << false;
        QTest::newRow("two numbers") << "1 2" << 1.0 << 1 << false;
        QTest::newRow("lone point") << "." << 0.0 << 0 << false;
        QTest::newRow("lone sign") << "-" << 0.0 << 0 << false;
        QTest::newRow("double sign") << "--5" << 0.0 << 0 << false;
        QTest::newRow("hexadecimal is not a number here") << "0x10" << 0.0 << 0 << false;
        QTest::newRow("infinity word is not a number") << "inf" << 0.0 << 0 << false;
        QTest::newRow("nan word is not a number") << "nan" << 0.0 << 0 << false;
        QTest::newRow("decimal comma ends the number") << "3,5" << 3.0 << 3 << false;
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(int, asInt);
        QFETCH(bool, numeric);
        QCOMPARE(Val(text), value);
        QCOMPARE(ValInt(text), asInt);
        QCOMPARE(IsNumeric(text), numeric);
    }

    void toInt32_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("result");
        QTest::newRow("fraction dropped") << 2.9 << 2;
        QTest::newRow("negative fraction dropped") << -0.9 << 0;
        QTest::newRow("just below the maximum") << 2147483646.99 << INT_MAX - 1;
        QTest::newRow("maximum plus a half") << 2147483647.5 << INT_MAX;
        QTest::newRow("minimum minus a fraction") << -2147483648.9 << INT_MIN;
        QTest::newRow("huge") << 1e300 << INT_MAX;
        QTest::newRow("infinity") << kInf << INT_MAX;
        QTest::newRow("negative infinity") << -kInf << INT_MIN;
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 0;
    }
    void toInt32() {
        QFETCH(double, value);
        QFETCH(int, result);
        QCOMPARE(ToInt32(value), result);
    }

    // Text fields always use a decimal point, whatever the user's system locale says.
    void ignoresTheSystemLocale() {
        const CommaLocale comma;
        if (!comma.Active())
            QSKIP("no locale with a decimal comma is installed");
        QCOMPARE(Val("3.7"), 3.7);
        QCOMPARE(Val("1.5e2"), 150.0);
        QCOMPARE(ValInt("2.5"), 2);
        QCOMPARE(Val("1e999"), kInf);
    }
};

QTEST_APPLESS_MAIN(TestVal)
#include "tst_val.moc"
