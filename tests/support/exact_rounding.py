"""The roundings of the shop's money arithmetic, modelled on exact fractions.

Shared by the scripts that work out what the scenarios expect, independently of the program:

- extended: 64-bit significand, round to nearest, ties to even (x86-64 long double)
- short real: 40-bit significand, round to nearest, halves away from zero
- double: 53-bit significand, ties to even
"""
from fractions import Fraction


def round_bits(x, bits, ties_away):
    """x rounded to a binary number of `bits` significant bits."""
    x = Fraction(x)
    if x == 0:
        return Fraction(0)
    sign, a = (-1 if x < 0 else 1), abs(x)
    e = a.numerator.bit_length() - a.denominator.bit_length()
    while Fraction(2) ** e > a:
        e -= 1
    while Fraction(2) ** (e + 1) <= a:
        e += 1
    scale = Fraction(2) ** (bits - 1 - e)
    m = a * scale
    whole = m.numerator // m.denominator
    rest = m - whole
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and (ties_away or whole % 2)):
        whole += 1
    return sign * Fraction(whole) / scale


def ext(x):
    """An extended-precision result."""
    return round_bits(x, 64, False)


def short(x):
    """A value stored into a short real."""
    return round_bits(x, 40, True)


def dbl(x):
    """A value held in a double."""
    return round_bits(x, 53, False)
