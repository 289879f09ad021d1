#!/usr/bin/env python3
"""Expected figures of the order corrections, worked out with exact rational arithmetic.

Independent of the program: every rounding the shop's money arithmetic performs is modelled
on fractions.Fraction, so the values the scenario scripts expect are derived, not copied.

- extended: 64-bit significand, round to nearest, ties to even (x86-64 long double)
- short real: 40-bit significand, round to nearest, halves away from zero
- number reading: decimal text -> nearest extended -> stored as a short real
- number writing: 15 significant digits; the field stores the double nearest that text
- "0.00" display: the stored double rounded to cents (halves up), as the controls show it

Run it to print the figures of every case the scenarios use.
"""
from decimal import Decimal, ROUND_HALF_UP
from fractions import Fraction as F

from exact_rounding import dbl, ext, short


sr = short  # a short real, under the short name the formulas below use


def read(text):
    """Number reading of a control's text into a short real (the empty text gives 0)."""
    if not text.strip():
        return F(0)
    return sr(ext(F(Decimal(text))))


def write(x):
    """Number writing: the 15-significant-digit text (as the scenario's JSON number)."""
    d = Decimal(x.numerator) / Decimal(x.denominator)
    return format(d, ".14E")


def stored(x):
    """The double a float field holds after taking the written text."""
    return dbl(F(Decimal(write(x))))


def shown(x):
    """'0.00' display text of a stored double."""
    d = Decimal(x.numerator) / Decimal(x.denominator)
    return str(Decimal(format(d, ".15g")).quantize(Decimal("0.01"), ROUND_HALF_UP))


def g15(x):
    d = Decimal(x.numerator) / Decimal(x.denominator)
    return format(float(format(d, ".15g")), ".15g")


def reprice(q, p, t0, x0, g0, z0, rate):
    """A line priced anew: every input a displayed text, results as the fields store them."""
    Q, P, T0, X0, G0, Z0, R = (read(v) for v in (q, p, t0, x0, g0, z0, rate))
    T1 = sr(Q * P)
    frac = sr(R * ext(F(1, 100)))
    X1 = sr(T1 * frac)
    G1 = sr(ext(ext(ext(ext(G0 - T0) - X0) + T1) + X1))
    Z1 = sr(ext(ext(Z0 - X0) + X1))
    return {k: stored(v) for k, v in dict(total=T1, tax=X1, grand=G1, totaltax=Z1).items()}


def without_line(g0, z0, t, x):
    """Delete Entry: the stored line total and tax out of the stored order totals."""
    G = sr(ext(ext(F(g0) - F(t)) - F(x)))
    Z = sr(ext(F(z0) - F(x)))
    return stored(G), stored(Z)


def show(label, figures):
    print(label)
    for k, v in figures.items():
        print(f"  {k:9} {g15(v):>22}  shows {shown(v)}")


if __name__ == "__main__":
    show("decrease by 1 (q 3 -> 2, price 10.00)", reprice("2", "10.00", "30.00", "2.40", "32.40", "2.40", "8.00"))
    show("increase by 2 (q 3 -> 5)", reprice("5", "10.00", "30.00", "2.40", "32.40", "2.40", "8.00"))
    show("decrease by 5 (q 3 -> -2)", reprice("-2", "10.00", "30.00", "2.40", "32.40", "2.40", "8.00"))
    show("Discount Price1 9.00", reprice("3", "9.00", "30.00", "2.40", "32.40", "2.40", "8.00"))
    show("q 2.5 at retail 4.00", reprice("2.5", "4.00", "10.00", "0.80", "10.80", "0.80", "8.00"))
    show("Discount Price1 a second time", reprice("3", "9.00", "27.00", "2.16", "29.16", "2.16", "8.00"))
    show("back to Retail Price", reprice("3", "10.00", "27.00", "2.16", "29.16", "2.16", "8.00"))
    show("q 2.5 at retail 4.00, from 3.50", reprice("2.5", "4.00", "8.75", "0.70", "9.45", "0.70", "8.00"))
    d = reprice("2", "10.00", "30.00", "2.40", "44.50", "3.00", "8.00")
    show("decrease by 1 on an order with a second line and shipping", d)
    g, z = without_line(d["grand"], d["totaltax"], d["total"], d["tax"])
    print("delete that line:", g15(g), g15(z))
    g, z = without_line(g, z, dbl(F(Decimal("7.5"))), dbl(F(Decimal("0.6"))))
    print("delete the 7.50 line (tax 0.60):", g15(g), g15(z))
    g, z = without_line(dbl(F(Decimal("10.8"))), dbl(F(Decimal("0.8"))), dbl(F(10)), dbl(F(Decimal("0.8"))))
    print("delete the only line of 10.80 / 0.80:", g15(g), g15(z))
    show("an empty level", reprice("2", "", "20.00", "1.60", "21.60", "1.60", "8.00"))
