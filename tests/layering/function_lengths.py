#!/usr/bin/env python3
"""Names every function in the sources given whose body is longer than the limit.

Sources are as clang-format writes them: a function's body opens with a lone "{" at the start of a
line and closes with a lone "}" there; class and namespace bodies open on their own line.
Usage: function_lengths.py LIMIT FOLDER..."""
import os
import re
import sys


def long_functions(path, limit):
    lines = open(path, encoding="utf-8", errors="replace").read().split("\n")
    i = 0
    while i < len(lines):
        if lines[i] == "{" and i > 0 and "(" in "".join(lines[max(0, i - 6):i]):
            end = i + 1
            while end < len(lines) and lines[end] != "}" and not lines[end].startswith("};"):
                end += 1
            head = i - 1
            while head > 0 and not re.match(r"^[A-Za-z]", lines[head]):
                head -= 1
            if not re.match(r"^(namespace|class|struct|enum|union)\b", lines[head]):
                if end - i - 1 > limit:
                    yield head + 1, end - i - 1, lines[head]
            i = end
        i += 1


def main():
    limit = int(sys.argv[1])
    found = 0
    for folder in sys.argv[2:]:
        for base, _, names in sorted(os.walk(folder)):
            for name in sorted(names):
                if name.endswith(".cpp"):
                    path = os.path.join(base, name)
                    for line, length, head in long_functions(path, limit):
                        print(f"{path}:{line}: {length} lines: {head.strip()[:90]}")
                        found += 1
    print(f"functions over {limit} lines: {found}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
