// Roots of real polynomials of degree 1 to 4, used to split fourth-order notch
// sections into second-order ones.
#pragma once

#include <complex>

// coeffs[0..degree] in descending powers. Leading zero coefficients are
// dropped; trailing coefficients at most 1e-30 times the one before lower the
// degree (roots at the origin are not returned). Writes the roots and returns
// the degree found (0 when nothing is left). A quartic's roots come as two
// pairs, each pair the roots of one real quadratic factor (a conjugate pair or
// two real roots); a cubic gives its real root first.
int PolyRoots(const double* coeffs, int degree, std::complex<double>* roots);

// The two roots of y^2 + b y + c, computed without cancellation.
void QuadraticRoots(double b, double c, std::complex<double>* roots);
