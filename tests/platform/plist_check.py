#!/usr/bin/python3
"""Independent check of the property-list layer with Python's plistlib.

  plist_check.py write DIR        writes sample.xml, sample.bin, huge.bin with plistlib
  plist_check.py check FILE KIND  loads FILE (KIND xml or binary) and compares it with the sample
  plist_check.py archive FILE     prints the shape of a keyed archive as JSON
"""
import datetime
import json
import plistlib
import sys


def sample(with_uids):
    d = {
        "string": "hello",
        "unicode": "Gr\u00fc\u00dfe \u2603 \U0001d11e",
        "empty": "",
        "escapes": "a < b & c > d \"q\" 'x'\ttab\nline",
        "int": 42,
        "byte": 255,
        "short": 65535,
        "word": 4294967295,
        "big": 2**62 + 5,
        "neg": -7,
        "minint": -(2**63),
        "maxint": 2**63 - 1,
        "real": 1.5,
        "third": 1 / 3,
        "tiny": 1e-300,
        "negreal": -2.25,
        "wholereal": 2.0,
        "true": True,
        "false": False,
        "data": bytes(range(256)) * 3,
        "nodata": b"",
        "date": datetime.datetime(2021, 3, 4, 5, 6, 7),
        "olddate": datetime.datetime(1969, 7, 20, 20, 17, 40),
        "array": [1, "two", [3.0, {"four": 4}], []],
        "dict": {"nested": {"deep": [True, "x" * 40]}},
        "emptydict": {},
        "many": list(range(300)),
    }
    if with_uids:
        d["uid"] = plistlib.UID(7)
        d["biguid"] = plistlib.UID(70000)
        d["uids"] = [plistlib.UID(0), plistlib.UID(255), plistlib.UID(256)]
    else:
        d["uid"] = {"CF$UID": 7}
        d["biguid"] = {"CF$UID": 70000}
        d["uids"] = [{"CF$UID": 0}, {"CF$UID": 255}, {"CF$UID": 256}]
    return d


def diff(a, b, path="$"):
    if type(a) is not type(b):
        return f"{path}: {type(a).__name__} {a!r:.80} != {type(b).__name__} {b!r:.80}"
    if isinstance(a, dict):
        if set(a) != set(b):
            return f"{path}: keys {sorted(set(a) ^ set(b))} differ"
        for k in a:
            r = diff(a[k], b[k], f"{path}.{k}")
            if r:
                return r
        return None
    if isinstance(a, list):
        if len(a) != len(b):
            return f"{path}: length {len(a)} != {len(b)}"
        for i, (x, y) in enumerate(zip(a, b)):
            r = diff(x, y, f"{path}[{i}]")
            if r:
                return r
        return None
    if a != b:
        return f"{path}: {a!r:.80} != {b!r:.80}"
    return None


def shape(v):
    """JSON-friendly form: UIDs as {"$uid": n}, data as {"$data": hex}."""
    if isinstance(v, plistlib.UID):
        return {"$uid": v.data}
    if isinstance(v, bytes):
        return {"$data": v.hex()}
    if isinstance(v, dict):
        return {k: shape(x) for k, x in v.items()}
    if isinstance(v, list):
        return [shape(x) for x in v]
    if isinstance(v, datetime.datetime):
        return v.isoformat()
    return v


def main():
    cmd = sys.argv[1]
    if cmd == "write":
        out = sys.argv[2]
        with open(f"{out}/sample.xml", "wb") as f:
            plistlib.dump(sample(False), f, fmt=plistlib.FMT_XML)
        with open(f"{out}/sample.bin", "wb") as f:
            plistlib.dump(sample(True), f, fmt=plistlib.FMT_BINARY)
        with open(f"{out}/huge.bin", "wb") as f:
            plistlib.dump({"huge": 2**64 - 1}, f, fmt=plistlib.FMT_BINARY)
        return 0
    if cmd == "check":
        path, kind = sys.argv[2], sys.argv[3]
        with open(path, "rb") as f:
            raw = f.read()
        fmt = plistlib.FMT_BINARY if kind == "binary" else plistlib.FMT_XML
        got = plistlib.loads(raw, fmt=fmt)
        r = diff(sample(kind == "binary"), got)
        print(r or "OK")
        return 0 if r is None else 1
    if cmd == "archive":
        with open(sys.argv[2], "rb") as f:
            got = plistlib.load(f)
        print(json.dumps(shape(got)))
        return 0
    return 2


if __name__ == "__main__":
    sys.exit(main())
