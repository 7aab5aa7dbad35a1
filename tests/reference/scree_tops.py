#!/usr/bin/python3
"""The tops of the scree plot whose top tick stands on row 23.

The scale is 21 / top rounded to the nearest double.  Where that double is
below 21 / top, the exact product top x scale is just under 21 and truncates
to 20, so the tick stands on row 3 + 20 = 23 instead of 24.  Exact fractions
here, no floating-point product.

Prints the tops from 1 to 43 with the short scale; tests/factor/scree_test.cpp
holds the list.
"""
from fractions import Fraction

print([top for top in range(1, 44) if Fraction(top) * Fraction(21 / top) < 21])
