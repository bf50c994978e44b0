// Solution of a symmetric Toeplitz system by Levinson recursion.
#pragma once

// Solves T x = b, where T is the n x n symmetric Toeplitz matrix whose first
// column is r[0..n-1]. Double precision throughout. Returns 0 with x filled;
// kStatusRefused when r[0] is zero (logged at LogError), when a leading minor is singular,
// or when n < 1 or the work space cannot be allocated; x is then untouched.
int SolveToeplitz(const double* r, const double* b, double* x, int n);
