"""What the benchmark scripts share: where the checkout is, how many pairs they alternate, and how
they read their arguments."""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PAIRS = int(os.environ.get("PAIRS", "5"))
MIB = 1024 * 1024


def parse_arguments(usage, parts, options):
    """The parts asked for (all of `parts` when none is) and the value of each option, whose
    defaults `options` maps from the flag ("--cli": path). A value is made absolute; anything else
    prints `usage` and exits."""
    values = dict(options)
    chosen = []
    args = sys.argv[1:]
    while args:
        arg = args.pop(0)
        if arg in values and args:
            values[arg] = os.path.abspath(args.pop(0))
        elif arg in parts:
            chosen.append(arg)
        else:
            sys.exit(usage)
    return values, chosen or list(parts)
