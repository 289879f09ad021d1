#!/usr/bin/env python3
"""Expected figures of the sales scenarios, worked out by exact rational arithmetic.

The program computes in x86-64 extended precision (64-bit significand, ties to even) and
stores money in short reals (40-bit significand, halves away from zero).  Here both roundings
are modelled on exact fractions, independently of the program, and each scenario's figures
are printed as the scenario files write them (15 significant digits).

    python3 tests/scenarios/sale_figures.py
"""
import os
import sys
from decimal import Decimal, getcontext
from fractions import Fraction

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from exact_rounding import ext, short  # noqa: E402

getcontext().prec = 80


def read(text):  # number reading of a plain decimal text
    return ext(Fraction(text)) if text else Fraction(0)


HUNDREDTH = ext(Fraction(1, 100))


def g15(x):
    """15 significant digits in general form, as variables and stored numbers read."""
    x = Fraction(x)
    if x == 0:
        return "0"
    d = Decimal(x.numerator) / Decimal(x.denominator)
    d = Decimal(format(d, ".14e")).normalize()
    return format(d, "f") if -5 <= d.adjusted() < 15 else format(d, "E")


class Order:
    def __init__(self, rate):
        self.rate_factor = short(ext(short(read(rate)) * HUNDREDTH))
        self.grand = Fraction(0)
        self.tax = Fraction(0)

    def line(self, price_shown, quantity):
        p, q = short(read(price_shown)), short(read(quantity))
        total = short(ext(p * q))
        tax = short(ext(total * self.rate_factor))
        self.grand = short(ext(ext(self.grand + total) + tax))
        self.tax = short(ext(self.tax + tax))
        return total, tax

    def show(self, title, lines):
        print(title)
        for price, quantity in lines:
            total, tax = self.line(price, quantity)
            print(f"  {price} x {quantity or '(empty)'}: Total {g15(total)}  Tax {g15(tax)}"
                  f"  -> RunningGrandTotal {g15(self.grand)}  RunningTotalTax {g15(self.tax)}")


if __name__ == "__main__":
    Order("7.00").show("sales-worked-line", [("12.50", "3")])
    Order("7.00").show("sales-line-figures",
                       [("12.35", "2"), ("9.99", ""), ("9.99", "0"), ("4.00", "2.5"),
                        ("3.10", "5"), ("1.25", "1"), ("12.50", "-1.5")])
    Order("7.00").show("sales-end-of-order (two lines)", [("12.50", "3"), ("10.00", "1")])
    Order("7.00").show("sales-end-of-order (one line)", [("10.00", "1")])
    Order("7.00").show("sales-exit", [("12.50", "3"), ("10.00", "2.5")])
    Order("7.00").show("sales-refusals", [("1.00", "1")])
    Order("0.00").show("sales-rate-zero", [("12.50", "3"), ("19.99", "2")])
    Order("8.25").show("sales-header-edits", [("19.99", "1"), ("5.00", "4")])
