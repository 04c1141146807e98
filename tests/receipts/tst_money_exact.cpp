#include "data/Money.h"

#include <QTest>

#include <gmpxx.h>

#include <random>

namespace {

// An exact model of the receipt's arithmetic: every value a rational number, every rounding
// done by hand, to a 64-bit significand for the extended steps and to 53 bits for a double.

// x rounded to a significand of the given bits, halves to even (x >= 0).
mpq_class toBits(const mpq_class& x, int bits) {
    if (x == 0)
        return 0;
    const mpz_class& num = x.get_num();
    const mpz_class& den = x.get_den();
    long e =
        long(mpz_sizeinbase(num.get_mpz_t(), 2)) - long(mpz_sizeinbase(den.get_mpz_t(), 2)) - bits;
    for (;;) {
        // x / 2^e as a whole part q and a remainder r / d.
        mpz_class n = num, d = den;
        if (e >= 0)
            d <<= e;
        else
            n <<= -e;
        mpz_class q, r;
        mpz_fdiv_qr(q.get_mpz_t(), r.get_mpz_t(), n.get_mpz_t(), d.get_mpz_t());
        const long size = long(mpz_sizeinbase(q.get_mpz_t(), 2));
        if (size < bits) {
            --e;
            continue;
        }
        if (size > bits) {
            ++e;
            continue;
        }
        const int half = cmp(mpz_class(r * 2), d);
        if (half > 0 || (half == 0 && mpz_odd_p(q.get_mpz_t())))
            ++q;
        mpq_class out(q);
        if (e >= 0)
            mpq_mul_2exp(out.get_mpq_t(), out.get_mpq_t(), e);
        else
            mpq_div_2exp(out.get_mpq_t(), out.get_mpq_t(), -e);
        return out;
    }
}

mpq_class extended(const mpq_class& x) {
    return toBits(x, 64);
}
mpq_class stored(const mpq_class& x) {
    return toBits(x, 53);
}

mpz_class wholeToEven(const mpq_class& x) {
    mpz_class q, r;
    mpz_fdiv_qr(q.get_mpz_t(), r.get_mpz_t(), x.get_num_mpz_t(), x.get_den_mpz_t());
    const int half = cmp(mpz_class(r * 2), x.get_den());
    if (half > 0 || (half == 0 && mpz_odd_p(q.get_mpz_t())))
        ++q;
    return q;
}

const mpq_class kCent(0.01); // the double, exactly
const mpq_class kPounds(Money::kPoundsPerEuro);

mpq_class cents(const mpq_class& v) {
    return stored(extended(mpq_class(wholeToEven(extended(v / kCent))) * kCent));
}

mpz_class power10(unsigned long n) {
    mpz_class p;
    mpz_ui_pow_ui(p.get_mpz_t(), 10, n);
    return p;
}

// The value of v's text of 15 significant digits, read back as a double.
mpq_class readBack15(const mpq_class& v) {
    if (v == 0)
        return 0;
    long e = long(std::floor(std::log10(v.get_d())));
    for (;;) {
        mpq_class scaled = v;
        if (14 - e >= 0)
            scaled *= power10(14 - e);
        else
            scaled /= power10(e - 14);
        const mpz_class m = wholeToEven(scaled);
        if (m >= power10(15)) {
            ++e;
            continue;
        }
        if (m < power10(14)) {
            --e;
            continue;
        }
        mpq_class text(m);
        if (14 - e >= 0)
            text /= power10(14 - e);
        else
            text *= power10(e - 14);
        return stored(text);
    }
}

} // namespace

// Random receipts against the exact model: the double arithmetic must agree to the last bit.
class TestMoneyExact : public QObject {
    Q_OBJECT

private slots:
    void agreesWithTheExactModel() {
        std::mt19937_64 random(20240517);
        const int rates[] = {0, 6, 13, 15, 23, 24};
        constexpr int kCases = 1'000'000;
        int failures = 0;
        for (int i = 0; i < kCases && failures < 5; ++i) {
            const int decimals = 2 + (i & 1);
            const long scale = decimals == 2 ? 100 : 1000;
            std::uniform_int_distribution<long> units(scale / 100, 100000 * scale);
            const long n = units(random);
            const int rate = rates[(i >> 1) % 6];
            const QString typed = QStringLiteral("%1,%2").arg(n / scale).arg(n % scale, decimals,
                                                                             10, QLatin1Char('0'));

            const mpq_class amount = stored(mpq_class(n, scale));
            const mpq_class vat = cents(stored(extended(extended(amount * rate) / 100)));
            const mpq_class pounds = cents(stored(extended(amount * kPounds)));
            const mpq_class total = stored(extended(readBack15(vat) + amount));

            const std::optional<double> read = Money::parseTyped(typed);
            const Money::Receipt r = Money::work(read.value_or(-1), rate);
            if (!read || mpq_class(*read) != amount || mpq_class(r.vat) != vat ||
                mpq_class(r.pounds) != pounds || mpq_class(r.total) != total) {
                ++failures;
                qWarning("%s at %d: got %.17g %.17g %.17g %.17g, model %.17g %.17g %.17g %.17g",
                         qPrintable(typed), rate, r.amount, r.pounds, r.vat, r.total,
                         amount.get_d(), pounds.get_d(), vat.get_d(), total.get_d());
            }
        }
        QCOMPARE(failures, 0);
    }
};

QTEST_APPLESS_MAIN(TestMoneyExact)
#include "tst_money_exact.moc"
