# The network a GEOS peer polygonizes: a work file's point list cut into
# lines at every shared point, so that it is noded as polygonize expects.
from collections import Counter

from shapely.geometry import LineString


def noded_lines(work):
    """(record count, lines) of the work file at path `work`."""
    # Work file: title, legend x, y, flag, width, height, record count, then
    # one line per coordinate.
    with open(work, 'rb') as f:
        lines = f.read().split(b'\n')
    count = int(lines[6])
    vals = [int(v) for v in lines[7:7 + 2 * count]]
    pts = list(zip(vals[0::2], vals[1::2]))
    uses = Counter(p for p in pts if p[0] > 0)
    segs, chain = [], []

    def flush():
        if len(chain) >= 2:
            segs.append(LineString(chain))

    for p in pts:
        if p[0] <= 0:
            flush()
            chain = []
            continue
        if chain and chain[-1] == p:
            continue
        chain.append(p)
        if len(chain) >= 2 and uses[p] > 1:  # a node: cut the line here
            flush()
            chain = [p]
    flush()
    return count, segs
