#!/usr/bin/python3
"""Fails when a unit of the chart engine reaches itself through its includes.

A unit is a header together with the sources that include it first (a source
includes the header it implements before any other); a unit uses another when
any of its files includes the other's header. The tests and the test support
are left out. Prints each cycle found, one unit after the other.

    unit_cycles.py <chart folder>
"""
import os
import re
import sys

INCLUDE = re.compile(r'#include "(chart/[^"]+\.h)"')


def main(folder):
    root = os.path.dirname(os.path.abspath(folder))
    files = []
    for directory, subdirs, names in os.walk(folder):
        subdirs[:] = [d for d in subdirs if d not in ('tests', 'testing')]
        files += [os.path.join(directory, n) for n in names if n.endswith(('.h', '.cpp'))]
    uses = {}
    for path in files:
        with open(path, encoding='utf-8') as f:
            included = INCLUDE.findall(f.read())
        own = os.path.relpath(path, root)
        if path.endswith('.cpp') and included:
            own = included[0]
        uses.setdefault(own, set()).update(h for h in included if h != own)
    # Tarjan's strongly connected components, without recursion.
    index, low, on_stack, stack, cycles, counter = {}, {}, set(), [], [], [0]
    for start in uses:
        if start in index:
            continue
        work = [(start, iter(sorted(uses.get(start, ()))))]
        index[start] = low[start] = counter[0]
        counter[0] += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            unit, successors = work[-1]
            advanced = False
            for nxt in successors:
                if nxt not in index:
                    index[nxt] = low[nxt] = counter[0]
                    counter[0] += 1
                    stack.append(nxt)
                    on_stack.add(nxt)
                    work.append((nxt, iter(sorted(uses.get(nxt, ())))))
                    advanced = True
                    break
                if nxt in on_stack:
                    low[unit] = min(low[unit], index[nxt])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[unit])
            if low[unit] == index[unit]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == unit:
                        break
                if len(component) > 1:
                    cycles.append(sorted(component))
    for cycle in cycles:
        print('units that use each other: ' + ', '.join(cycle))
    return 1 if cycles else 0


if __name__ == '__main__':
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1]))
