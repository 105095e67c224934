#!/usr/bin/python3
"""Writes matrix_oracle.txt: reference results of the matrix operations of
the numeric core (products, element operations, structure detection,
eigenvalues, inverses, least squares and linear systems), real and complex.

Sources of the expected values: numpy (matmul, conj, linalg.eigvals,
eigvalsh, inv, lstsq, solve, cholesky, cond) and scipy.linalg (solve_triangular,
solveh_banded and solve_banded for band storage of any order,
and the LAPACK drivers ?gesvx, ?posvx, ?sysvx and zhesvx for the error bounds
and reciprocal condition numbers of refined solves, ?getrf with ?gecon). Exact
solutions for the forward-error checks are computed in rational arithmetic
(fractions) from the double inputs. Run from anywhere:

    /usr/bin/python3 numeric/tests/data/gen_matrix_oracle.py

Format: one case per block,

    case <family> <name> [key=value ...]
    <matrix name> <r|c> <rows> <cols> <values ...>
    ...
    end

values in row order, complex ones as re im pairs, printed with repr so that
they read back as the same doubles. Matrices are stored by rows as the numeric
core stores them. The keys and matrices of each family are listed where the
family is written below.
"""
import os
from fractions import Fraction

import numpy as np
import scipy
import scipy.linalg as sla
import scipy.linalg.lapack as lapack

rng = np.random.default_rng(20240917)
out = []


def mat_line(name, m):
    m = np.atleast_2d(np.asarray(m))
    kind = "c" if np.iscomplexobj(m) else "r"
    if kind == "c":
        values = np.column_stack([m.real.ravel(), m.imag.ravel()]).ravel()
    else:
        values = m.ravel()
    return "%s %s %d %d %s" % (name, kind, m.shape[0], m.shape[1], " ".join(repr(float(v)) for v in values))


def case(family, name, params, **matrices):
    head = "case %s %s" % (family, name)
    for key, value in params.items():
        head += " %s=%s" % (key, value)
    out.append(head)
    for mname, m in matrices.items():
        out.append(mat_line(mname, m))
    out.append("end")


def rand(rows, cols, cplx):
    a = rng.uniform(-1.0, 1.0, (rows, cols))
    if cplx:
        a = a + 1j * rng.uniform(-1.0, 1.0, (rows, cols))
    return a


def conj_t(a):
    return np.conj(a).T


def op(a, o):
    return {"opNone": a, "opTrans": a.T, "opHerm": conj_t(a)}[o]


def vec_product(a, x, o):
    """The matrix-vector product of the numeric core: x as a row times a for
    opNone, a x for opTrans, the element-wise conjugate of a times x for opHerm."""
    if o == "opNone":
        return x @ a
    if o == "opTrans":
        return a @ x
    return np.conj(a) @ x


def garbage_outside(a, form):
    """A copy of a with random values in the triangle that form does not name."""
    g = a.copy()
    n = a.shape[0]
    noise = rand(n, n, np.iscomplexobj(a)) * 7.0
    for i in range(n):
        for j in range(n):
            if (form == "tfUpper" and i > j) or (form == "tfLower" and i < j):
                g[i, j] = noise[i, j]
    return g


def from_triangle(a, form, hermitian):
    """The symmetric (Hermitian) matrix that the named triangle of a holds."""
    t = np.triu(a) if form == "tfUpper" else np.tril(a)
    strict = t - np.diag(np.diag(t))
    other = conj_t(strict) if hermitian else strict.T
    d = np.diag(np.diag(t).real) if hermitian else np.diag(np.diag(t))
    return strict + other + d


def triangle_of(a, form, unit):
    t = np.triu(a) if form == "tfUpper" else np.tril(a)
    if unit:
        t = t - np.diag(np.diag(t)) + np.eye(a.shape[0])
    return t


def symmetric(n, cplx):
    a = rand(n, n, cplx)
    return a + a.T


def hermitian(n):
    a = rand(n, n, True)
    return a + conj_t(a)


def spd(n, cplx):
    a = rand(n, n, cplx)
    return a @ conj_t(a) + n * np.eye(n)


# ---------------------------------------------------------------- products
# mul: C := op1(A) op2(B) by types t1, t2 (forms f1, f2, units u1, u2; auto1,
# auto2 set AutoMtxType). Matrices A, B, C.
ops = ["opNone", "opTrans", "opHerm"]
for cplx in (False, True):
    k = "c" if cplx else "r"
    for o1 in ops:
        for o2 in ops:
            m, kk, n = 4, 3, 5
            a = rand(m, kk, cplx) if o1 == "opNone" else rand(kk, m, cplx)
            b = rand(kk, n, cplx) if o2 == "opNone" else rand(n, kk, cplx)
            case("mul", "general_%s_%s_%s" % (k, o1, o2),
                 dict(t1="mtGeneral", t2="mtGeneral", op1=o1, op2=o2), A=a, B=b, C=op(a, o1) @ op(b, o2))
    # A larger product, past the BLAS kernels' blocking.
    a, b = rand(40, 33, cplx), rand(33, 37, cplx)
    case("mul", "general_large_%s" % k, dict(t1="mtGeneral", t2="mtGeneral", op1="opNone", op2="opNone"),
         A=a, B=b, C=a @ b)
    special = "mtHermitian" if cplx else "mtSymmetric"
    for form in ("tfUpper", "tfLower"):
        for first in (True, False):
            s = garbage_outside(hermitian(4) if cplx else symmetric(4, False), form)
            eff = from_triangle(s, form, cplx)
            other = rand(4, 3, cplx) if first else rand(3, 4, cplx)
            # The operations are not applied on the symmetric path.
            if first:
                case("mul", "special_first_%s_%s" % (k, form),
                     dict(t1=special, t2="mtGeneral", op1="opTrans", op2="opTrans", f1=form),
                     A=s, B=other, C=eff @ other)
            else:
                case("mul", "special_second_%s_%s" % (k, form),
                     dict(t1="mtGeneral", t2=special, op1="opTrans", op2="opNone", f2=form),
                     A=other, B=s, C=other @ eff)
        for unit in (False, True):
            for o in ops:
                t = garbage_outside(rand(4, 4, cplx), form)
                eff = triangle_of(t, form, unit)
                other = rand(4, 3, cplx)
                case("mul", "triangle_first_%s_%s_%d_%s" % (k, form, unit, o),
                     dict(t1="mtTriangle", t2="mtGeneral", op1=o, op2="opTrans", f1=form, u1=int(unit)),
                     A=t, B=other, C=op(eff, o) @ other)
                other = rand(3, 4, cplx)
                case("mul", "triangle_second_%s_%s_%d_%s" % (k, form, unit, o),
                     dict(t1="mtGeneral", t2="mtTriangle", op1="opTrans", op2=o, f2=form, u2=int(unit)),
                     A=other, B=t, C=other @ op(eff, o))
    # Structure found by AutoMtxType: a lower triangle and a symmetric matrix.
    low = np.tril(rand(5, 5, cplx))
    b = rand(5, 2, cplx)
    case("mul", "auto_triangle_%s" % k, dict(t1="mtGeneral", t2="mtGeneral", op1="opNone", op2="opNone", auto1=1),
         A=low, B=b, C=low @ b)
    s = hermitian(5) if cplx else symmetric(5, False)
    case("mul", "auto_special_%s" % k, dict(t1="mtGeneral", t2="mtGeneral", op1="opTrans", op2="opNone", auto1=1),
         A=s, B=b, C=s @ b)
# A complex symmetric operand that is not Hermitian multiplies as a general one.
cs = symmetric(4, True)
b = rand(4, 2, True)
case("mul", "complex_symmetric_general", dict(t1="mtGeneral", t2="mtGeneral", op1="opNone", op2="opNone", auto1=1),
     A=cs, B=b, C=cs @ b)

# matvec: y := MatVecProduct(x, A, t, op) (form f, unit u, auto). Matrices A, x
# (one row), y (one row).
for cplx in (False, True):
    k = "c" if cplx else "r"
    for o in ops:
        a = rand(4, 6, cplx)
        x = rand(1, 4 if o == "opNone" else 6, cplx).ravel()
        y = vec_product(a, x, o)
        case("matvec", "general_%s_%s" % (k, o), dict(t="mtGeneral", op=o), A=a, x=x[None, :], y=y[None, :])
    for form in ("tfUpper", "tfLower"):
        for o in ops:
            s = garbage_outside(hermitian(5) if cplx else symmetric(5, False), form)
            eff = from_triangle(s, form, cplx)
            x = rand(1, 5, cplx).ravel()
            # The column-major routine reads the transpose: conj(H) x for a
            # Hermitian H, whatever the operation.
            y = (np.conj(eff) if cplx else eff) @ x
            case("matvec", "special_%s_%s_%s" % (k, form, o),
                 dict(t="mtHermitian" if cplx else "mtSymmetric", op=o, f=form), A=s, x=x[None, :], y=y[None, :])
            for unit in (False, True):
                t = garbage_outside(rand(5, 5, cplx), form)
                eff = triangle_of(t, form, unit)
                y = vec_product(eff, x, o)
                case("matvec", "triangle_%s_%s_%d_%s" % (k, form, unit, o),
                     dict(t="mtTriangle", op=o, f=form, u=int(unit)), A=t, x=x[None, :], y=y[None, :])
    low = np.tril(rand(4, 4, cplx))
    x = rand(1, 4, cplx).ravel()
    case("matvec", "auto_triangle_%s" % k, dict(t="mtGeneral", op="opTrans", auto=1), A=low, x=x[None, :],
         y=(low @ x)[None, :])
cs = symmetric(4, True)
x = rand(1, 4, True).ravel()
case("matvec", "complex_symmetric_general", dict(t="mtSymmetric", op="opTrans"), A=cs, x=x[None, :],
     y=(cs @ x)[None, :])

# ------------------------------------------------------- element operations
# elem: op = add (Self A + (re + i im) B), sub, transp, adjung, mag, imag,
# real. Matrices A, B (when used), R.
for cplx in (False, True):
    k = "c" if cplx else "r"
    a, b = rand(3, 5, cplx), rand(3, 5, cplx)
    for re, im in ((1.0, 0.0), (2.5, 0.0), (-0.75, 1.25)):
        factor = complex(re, im) if cplx else re
        case("elem", "add_%s_%g_%g" % (k, re, im), dict(op="add", re=repr(re), im=repr(im)), A=a, B=b,
             R=a + factor * b)
    case("elem", "sub_%s" % k, dict(op="sub"), A=a, B=b, R=a - b)
    case("elem", "transp_%s" % k, dict(op="transp"), A=a, R=a.T)
    case("elem", "adjung_%s" % k, dict(op="adjung"), A=a, R=conj_t(a))
    sq = rand(4, 4, cplx)
    case("elem", "transp_square_%s" % k, dict(op="transp_inplace"), A=sq, R=sq.T)
    case("elem", "adjung_square_%s" % k, dict(op="adjung_inplace"), A=sq, R=conj_t(sq))
c = rand(4, 3, True)
case("elem", "mag", dict(op="mag"), A=c, R=np.abs(c))
case("elem", "imag", dict(op="imag"), A=c, R=c.imag)
case("elem", "real", dict(op="real"), A=c, R=c.real)

# ------------------------------------------------------------- detection
# detect: type := DetectMtxType(positive) with form. Matrix A.
type_names = ["mtSymmPosDef", "mtSymmetric", "mtHermPosDef", "mtHermitian", "mtTriangle", "mtGeneral"]


def detect(a, positive):
    n, m = a.shape
    if n != m:
        return "mtGeneral", None
    if np.all(np.triu(a, 1) == 0):
        return "mtTriangle", "tfLower"
    if np.all(np.tril(a, -1) == 0):
        return "mtTriangle", "tfUpper"
    cplx = np.iscomplexobj(a)
    sym = np.array_equal(a, a.T)
    herm = cplx and np.array_equal(a, conj_t(a))
    pd = False
    if positive and (herm if cplx else sym):
        try:
            np.linalg.cholesky(a)
            pd = True
        except np.linalg.LinAlgError:
            pd = False
    result = "mtGeneral"
    if sym:
        result = "mtSymmetric"
    if herm:
        result = "mtHermitian"
    if pd and sym:
        result = "mtSymmPosDef"
    if pd and herm:
        result = "mtHermPosDef"
    return result, "tfUpper"


samples = {
    "general_r": rand(5, 5, False), "general_c": rand(5, 5, True),
    "lower_r": np.tril(rand(5, 5, False)), "upper_c": np.triu(rand(5, 5, True)),
    "diagonal_r": np.diag(rng.uniform(1, 2, 4)), "spd_r": spd(5, False), "symmetric_r": symmetric(5, False),
    "hpd_c": spd(5, True), "hermitian_c": hermitian(5), "complex_symmetric": symmetric(5, True),
    "real_entries_spd_c": spd(4, False).astype(np.complex128), "wide_r": rand(3, 4, False),
}
for name, a in samples.items():
    for positive in (False, True):
        t, form = detect(a, positive)
        params = dict(positive=int(positive), type=t)
        if form:
            params["form"] = form
        case("detect", "%s_%d" % (name, positive), params, A=a)

# ------------------------------------------------------------- eigenvalues
# eig: D := Eig(A, t); expected values E (one row, real or complex), compared
# as sets; EC (one row): each eigenvalue's condition |x| |y| / |y^H x| for its
# right and left eigenvectors (1 for the symmetric types), AN (1 x 1): |A|_F.


def eig_case(name, params, a, e, symmetric_type=False):
    e = np.atleast_2d(e)
    if symmetric_type:
        ec = np.ones(e.shape[1])
    else:
        w, vl, vr = sla.eig(a, left=True, right=True)
        kappa = np.array([np.linalg.norm(vl[:, i]) * np.linalg.norm(vr[:, i]) / abs(np.vdot(vl[:, i], vr[:, i]))
                          for i in range(len(w))])
        ec = np.array([kappa[np.argmin(np.abs(w - v))] for v in e[0]])
    case("eig", name, params, A=a, E=e, EC=ec[None, :], AN=np.array([[np.linalg.norm(a)]]))


for cplx in (False, True):
    k = "c" if cplx else "r"
    a = rand(6, 6, cplx)
    eig_case("general_%s" % k, dict(t="mtGeneral"), a, np.linalg.eigvals(a)[None, :].astype(np.complex128))
    t = np.triu(rand(5, 5, cplx))
    eig_case("triangle_%s" % k, dict(t="mtTriangle"), t, np.diag(t)[None, :].astype(np.complex128))
    p = spd(6, cplx)
    eig_case("posdef_%s" % k, dict(t="mtHermPosDef" if cplx else "mtSymmPosDef"), p, np.linalg.eigvalsh(p)[None, :],
             True)
    h = hermitian(6) if cplx else symmetric(6, False)
    eig_case("symmetric_%s" % k, dict(t="mtHermitian" if cplx else "mtSymmetric"), h, np.linalg.eigvalsh(h)[None, :],
             True)
    big = rand(30, 30, cplx)
    eig_case("general_large_%s" % k, dict(t="mtGeneral"), big, np.linalg.eigvals(big)[None, :].astype(np.complex128))
a = rand(5, 5, False)
for bal in ("btNone", "btScale", "btPerm"):
    eig_case("balance_%s" % bal, dict(t="mtGeneral", balance=bal), a, np.linalg.eigvals(a)[None, :].astype(np.complex128))

# ------------------------------------------------------------- inverses
# inv: A := Inv(A, t) with form f, unit u; expected R (the whole matrix); K
# (1 x 1): the 1-norm condition number of the matrix inverted.
for cplx in (False, True):
    k = "c" if cplx else "r"
    a = rand(5, 5, cplx) + 2 * np.eye(5)
    case("inv", "general_%s" % k, dict(t="mtGeneral"), A=a, R=np.linalg.inv(a), K=np.array([[np.linalg.cond(a, 1)]]))
    for form in ("tfUpper", "tfLower"):
        p = spd(5, cplx)
        case("inv", "posdef_%s_%s" % (k, form), dict(t="mtHermPosDef" if cplx else "mtSymmPosDef", f=form), A=p,
             R=np.linalg.inv(p), K=np.array([[np.linalg.cond(p, 1)]]))
        s = symmetric(5, cplx) + 3 * np.eye(5)
        case("inv", "symmetric_%s_%s" % (k, form), dict(t="mtSymmetric", f=form), A=s, R=np.linalg.inv(s),
             K=np.array([[np.linalg.cond(s, 1)]]))
        if cplx:
            h = hermitian(5) + 0.5 * np.eye(5)
            case("inv", "hermitian_%s" % form, dict(t="mtHermitian", f=form), A=h, R=np.linalg.inv(h),
                 K=np.array([[np.linalg.cond(h, 1)]]))
        for unit in (False, True):
            t = triangle_of(rand(5, 5, cplx), form, False) + 2 * np.eye(5)
            if unit:
                # The diagonal is neither read nor written.
                eff = triangle_of(t, form, True)
                r = np.linalg.inv(eff)
                r = r - np.diag(np.diag(r)) + np.diag(np.diag(t))
            else:
                eff = t
                r = np.linalg.inv(t)
            case("inv", "triangle_%s_%s_%d" % (k, form, unit), dict(t="mtTriangle", f=form, u=int(unit)), A=t, R=r,
                 K=np.array([[np.linalg.cond(eff, 1)]]))
# A real matrix typed Hermitian is inverted as the symmetric one it is.
s = symmetric(4, False) + 3 * np.eye(4)
case("inv", "real_hermitian", dict(t="mtHermitian"), A=s, R=np.linalg.inv(s), K=np.array([[np.linalg.cond(s, 1)]]))

# ------------------------------------------------------------ least squares
# lsq: X := LQRSolve(B, op) of A; form=vec passes B and X as vectors. Matrices
# A, B, X; K2 (1 x 1): the 2-norm condition number of op(A), RN (1 x 1): the
# largest |b - op(A) x| / (|op(A)| |x|) over the columns.
for cplx in (False, True):
    k = "c" if cplx else "r"
    for shape in ((7, 3), (3, 7), (4, 4)):
        for o in ops:
            a = rand(shape[0], shape[1], cplx)
            equations = op(a, o).shape[0]
            for form, nrhs in (("vec", 1), ("mtx", 3)):
                b = rand(equations, nrhs, cplx)
                x = np.linalg.lstsq(op(a, o), b, rcond=None)[0]
                m = op(a, o)
                rn = max(np.linalg.norm(b[:, j] - m @ x[:, j]) / (np.linalg.norm(m, 2) * np.linalg.norm(x[:, j]))
                         for j in range(nrhs))
                case("lsq", "%s_%dx%d_%s_%s" % (k, shape[0], shape[1], o, form), dict(op=o, form=form), A=a, B=b, X=x,
                     K2=np.array([[np.linalg.cond(m)]]), RN=np.array([[rn]]))

# ---------------------------------------------------------- linear systems
# solve: X := LinSolve(B) of A by type t (op, f, unit u, kl, ku, refine, cn).
# Matrices A (the storage: band types in band layout), B, X; KI (1 x 1): the
# infinity-norm condition number of op(A); RC (1 x 1): the
# reciprocal condition estimate LAPACK gives, when an oracle computes it;
# RT (1 x 1): the true reciprocal condition number (for bounds); FE, BE
# (1 x 1): the largest forward and backward error bounds of ?xxsvx; XE: the
# exact solution of the double system, rounded.


def frac(z):
    return (Fraction(float(np.real(z))), Fraction(float(np.imag(z))))


def cmul(a, b):
    return (a[0] * b[0] - a[1] * b[1], a[0] * b[1] + a[1] * b[0])


def csub(a, b):
    return (a[0] - b[0], a[1] - b[1])


def cdiv(a, b):
    d = b[0] * b[0] + b[1] * b[1]
    return ((a[0] * b[0] + a[1] * b[1]) / d, (a[1] * b[0] - a[0] * b[1]) / d)


def exact_solve(a, b):
    """Gaussian elimination in rational (complex) arithmetic."""
    n = a.shape[0]
    m = [[frac(a[i, j]) for j in range(n)] + [frac(b[i, c]) for c in range(b.shape[1])] for i in range(n)]
    w = len(m[0])
    for col in range(n):
        piv = next(r for r in range(col, n) if m[r][col] != (0, 0))
        m[col], m[piv] = m[piv], m[col]
        for r in range(n):
            if r != col and m[r][col] != (0, 0):
                f = cdiv(m[r][col], m[col][col])
                m[r] = [csub(m[r][j], cmul(f, m[col][j])) for j in range(w)]
    x = np.zeros((n, b.shape[1]), dtype=np.complex128)
    for i in range(n):
        for c in range(b.shape[1]):
            q = cdiv(m[i][n + c], m[i][i])
            x[i, c] = float(q[0]) + 1j * float(q[1])
    return x


def true_rcond(a, cn):
    norm = 1 if cn == "cnNorm1" else np.inf
    return 1.0 / (np.linalg.norm(a, norm) * np.linalg.norm(np.linalg.inv(a), norm))


def solve_case(name, params, storage, dense, b, extra):
    o = params.get("op", "opNone")
    x = np.linalg.solve(op(dense, o), b)
    xe = exact_solve(op(dense, o), b)
    if not np.iscomplexobj(storage):
        xe = xe.real
    mats = dict(A=storage, B=b, X=x, XE=xe, KI=np.array([[np.linalg.cond(op(dense, o), np.inf)]]))
    if params.get("cn", "cnNone") != "cnNone":
        mats["RT"] = np.array([[true_rcond(dense, params["cn"])]])
    mats.update(extra)
    case("solve", name, params, **mats)


def svx_extra(kind, dense, b, cplx, o="opNone", lower=False, cn="cnNone"):
    """Error bounds (and the condition estimate) from the LAPACK expert drivers."""
    p = "z" if cplx else "d"
    if kind == "ge":
        trans = {"opNone": "N", "opTrans": "T", "opHerm": "C"}[o]
        r = getattr(lapack, p + "gesvx")(dense, b, fact="N", trans=trans)
        ferr, berr = r[9], r[10]
        lu, piv, _ = getattr(lapack, p + "getrf")(dense)
        anorm = np.linalg.norm(dense, 1 if cn == "cnNorm1" else np.inf)
        rc = getattr(lapack, p + "gecon")(lu, anorm, norm="1" if cn == "cnNorm1" else "I")[0]
    elif kind == "po":
        r = getattr(lapack, p + "posvx")(dense, b, fact="N", lower=int(lower))
        rc, ferr, berr = r[6], r[7], r[8]
    elif kind == "sy":
        r = getattr(lapack, p + "sysvx")(dense, b, lower=int(lower))
        rc, ferr, berr = r[5], r[6], r[7]
    else:  # he
        r = lapack.zhesvx(dense, b, lower=int(lower))
        rc, ferr, berr = r[3], r[4], r[5]
    return dict(RC=np.array([[rc]]), FE=np.array([[np.max(ferr)]]), BE=np.array([[np.max(berr)]]))


for cplx in (False, True):
    k = "c" if cplx else "r"
    for o in ops:
        for nrhs in (1, 3):
            a = rand(5, 5, cplx) + 1.5 * np.eye(5)
            b = rand(5, nrhs, cplx)
            for cn in ("cnNorm1", "cnNormInf"):
                params = dict(t="mtGeneral", op=o, refine=1, cn=cn)
                solve_case("general_%s_%s_%d_%s" % (k, o, nrhs, cn), params, a, a, b,
                           svx_extra("ge", a, b, cplx, o, cn=cn))
    for form in ("tfUpper", "tfLower"):
        lower = form == "tfLower"
        for nrhs in (1, 3):
            p = spd(5, cplx)
            t = "mtHermPosDef" if cplx else "mtSymmPosDef"
            params = dict(t=t, f=form, refine=1, cn="cnNorm1")
            b = rand(5, nrhs, cplx)
            solve_case("posdef_%s_%s_%d" % (k, form, nrhs), params, p, p, b, svx_extra("po", p, b, cplx, lower=lower))
            s = symmetric(5, cplx) + 0.3 * np.eye(5)
            b = rand(5, nrhs, cplx)
            solve_case("symmetric_%s_%s_%d" % (k, form, nrhs), dict(t="mtSymmetric", f=form, refine=1, cn="cnNorm1"),
                       s, s, b, svx_extra("sy", s, b, cplx, lower=lower))
            if cplx:
                h = hermitian(5) + 0.3 * np.eye(5)
                b = rand(5, nrhs, True)
                solve_case("hermitian_%s_%d" % (form, nrhs), dict(t="mtHermitian", f=form, refine=1, cn="cnNorm1"),
                           h, h, b, svx_extra("he", h, b, True, lower=lower))
        for unit in (False, True):
            for o in ops:
                t = triangle_of(rand(5, 5, cplx), form, False) + 2 * np.eye(5)
                stored = garbage_outside(t, form)
                if unit:
                    stored = stored - np.diag(np.diag(stored)) + 9 * np.eye(5)
                eff = triangle_of(stored, form, unit)
                b = rand(5, 2, cplx)
                solve_case("triangle_%s_%s_%d_%s" % (k, form, unit, o),
                           dict(t="mtTriangle", f=form, u=int(unit), op=o, refine=1, cn="cnNormInf"), stored, eff, b, {})

    # Band general: LAPACK band layout, band row r holds A(j - ku + r, j).
    for kl, ku in ((2, 2), (1, 3), (0, 2)):
        n = kl + ku + 1
        dense = np.zeros((n, n), dtype=np.complex128 if cplx else np.float64)
        for i in range(n):
            for j in range(max(0, i - kl), min(n, i + ku + 1)):
                dense[i, j] = rand(1, 1, cplx)[0, 0]
        dense += 2 * np.eye(n)
        band = np.zeros((n, n), dtype=dense.dtype)
        for j in range(n):
            for i in range(max(0, j - ku), min(n, j + kl + 1)):
                band[ku + i - j, j] = dense[i, j]
        for o in ops:
            for cn in ("cnNorm1", "cnNormInf"):
                b = rand(n, 2, cplx)
                solve_case("band_general_%s_%d_%d_%s_%s" % (k, kl, ku, o, cn),
                           dict(t="mtBandGeneral", kl=kl, ku=ku, op=o, refine=1, cn=cn), band, dense, b, {})
    # Band positive definite: kd + 1 band rows, order kd + 1.
    for form in ("tfUpper", "tfLower"):
        kd = 3
        n = kd + 1
        dense = spd(n, cplx)
        band = np.zeros((kd + 1, n), dtype=dense.dtype)
        for j in range(n):
            for i in range(n):
                if form == "tfUpper" and j - kd <= i <= j:
                    band[kd + i - j, j] = dense[i, j]
                if form == "tfLower" and j <= i <= j + kd:
                    band[i - j, j] = dense[i, j]
        t = "mtBandHermPosDef" if cplx else "mtBandSymmPosDef"
        params = dict(t=t, f=form, refine=1, cn="cnNorm1")
        params["ku" if form == "tfUpper" else "kl"] = kd
        solve_case("band_posdef_%s_%s" % (k, form), params, band, dense, rand(n, 2, cplx), {})

# A real matrix typed Hermitian positive definite solves by Cholesky.
p = spd(4, False)
b = rand(4, 1, False)
solve_case("real_hermposdef", dict(t="mtHermPosDef", refine=1, cn="cnNorm1"), p, p, b,
           svx_extra("po", p, b, False))
# A larger general system, past the factorisation's blocking.
a = rand(80, 80, False) + 5 * np.eye(80)
b = rand(80, 1, False)
x = np.linalg.solve(a, b)
case("solve", "general_large_r", dict(t="mtGeneral", op="opNone", refine=0, cn="cnNone"), A=a, B=b, X=x,
     KI=np.array([[np.linalg.cond(a, np.inf)]]))

# Band storage of any order: kd + 1 (or kl + ku + 1) band rows and one column per unknown, the
# layout scipy.linalg.solveh_banded and solve_banded take; the expected solutions are theirs.
def banded_case(name, params, band, dense, b, x):
    case("solve", name, params, A=band, B=b, X=x, XE=exact_solve(dense, b).real if not np.iscomplexobj(band)
         else exact_solve(dense, b), KI=np.array([[np.linalg.cond(dense, np.inf)]]))


def hermitian_band(n, kd, cplx, lower):
    """A diagonally dominant Hermitian band matrix and its LAPACK band storage."""
    dense = np.zeros((n, n), dtype=np.complex128 if cplx else np.float64)
    for i in range(n):
        for j in range(i + 1, min(n, i + kd + 1)):
            dense[i, j] = rand(1, 1, cplx)[0, 0]
            dense[j, i] = np.conj(dense[i, j])
        dense[i, i] = 2.0 * kd + 1.0 + rng.uniform(0.0, 1.0)
    band = np.zeros((kd + 1, n), dtype=dense.dtype)
    for j in range(n):
        for i in range(n):
            if not lower and j - kd <= i <= j:
                band[kd + i - j, j] = dense[i, j]
            if lower and j <= i <= j + kd:
                band[i - j, j] = dense[i, j]
    return band, dense


for cplx, n, kd, lower, nrhs in ((False, 6, 1, False, 1), (False, 6, 1, True, 2), (True, 5, 1, False, 1),
                                 (True, 5, 1, True, 3), (False, 9, 2, False, 1), (True, 8, 3, True, 2)):
    band, dense = hermitian_band(n, kd, cplx, lower)
    b = rand(n, nrhs, cplx)
    x = sla.solveh_banded(band, b, lower=lower)
    t = "mtBandHermPosDef" if cplx else "mtBandSymmPosDef"
    form = "tfLower" if lower else "tfUpper"
    params = dict(t=t, f=form, refine=1, cn="cnNorm1")
    params["kl" if lower else "ku"] = kd
    banded_case("banded_posdef_%s_%d_%d_%s_%d" % ("c" if cplx else "r", n, kd, form, nrhs), params, band, dense, b, x)

for cplx, n, kl, ku, nrhs in ((False, 6, 1, 1, 1), (False, 7, 2, 1, 2), (True, 5, 1, 2, 1), (True, 8, 0, 2, 3),
                              (False, 9, 3, 0, 1)):
    dense = np.zeros((n, n), dtype=np.complex128 if cplx else np.float64)
    for i in range(n):
        for j in range(max(0, i - kl), min(n, i + ku + 1)):
            dense[i, j] = rand(1, 1, cplx)[0, 0]
        dense[i, i] += kl + ku + 1.5
    band = np.zeros((kl + ku + 1, n), dtype=dense.dtype)
    for j in range(n):
        for i in range(max(0, j - ku), min(n, j + kl + 1)):
            band[ku + i - j, j] = dense[i, j]
    b = rand(n, nrhs, cplx)
    x = sla.solve_banded((kl, ku), band, b)
    banded_case("banded_general_%s_%d_%d_%d_%d" % ("c" if cplx else "r", n, kl, ku, nrhs),
                dict(t="mtBandGeneral", kl=kl, ku=ku, op="opNone", refine=1, cn="cnNormInf"), band, dense, b, x)

path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "matrix_oracle.txt")
with open(path, "w") as f:
    f.write("# made by gen_matrix_oracle.py with numpy %s and scipy %s\n" % (np.__version__, scipy.__version__))
    f.write("\n".join(out) + "\n")
print("wrote", path, len([l for l in out if l.startswith("case")]), "cases")
