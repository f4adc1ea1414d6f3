#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_lumadb_decode: valid result blocks of every
shape the decoder knows (row sets of all cell types, extension areas, empty
results, answers without tables)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus", "fuzz_lumadb_decode")


def be32(value):
    return struct.pack(">I", value)


def text(value):
    return value.encode() + b"\0"


def int32(value):
    return struct.pack(">I", value)


def int64(value):
    return struct.pack(">q", value)


def ipv4(a, b, c, d):
    return bytes([a, b, c, d])


def port(value):
    return struct.pack(">H", value)


def items(*values):
    return b"".join(be32(len(v) + 1) + v.encode() + b"\0" for v in values) + be32(0)


def block(columns, rows, kind=115, extra=0, extension=b"", counts=None):
    column_count, row_count = counts if counts else (len(columns), len(rows))
    data = bytes([0, kind]) + struct.pack(">HII", column_count, row_count, extra) + be32(0)
    if not columns and not rows and not extension:
        return data
    data += be32(len(extension)) + extension
    for type_code, attribute, name in columns:
        data += bytes([0, type_code, attribute]) + be32(len(name) + 1) + name.encode() + b"\0"
    for row in rows:
        for cell in row:
            data += be32(len(cell)) + cell
    return data


ALL_TYPES = [(1, 0, "name"), (2, 1, "count"), (3, 0, "size"), (4, 0, "address"),
             (5, 0, "comment"), (6, 0, "digest"), (7, 0, "port"), (8, 0, "domains")]

SEEDS = {
    "all_types": block(ALL_TYPES, [
        [text("alice"), int32(4000000000), int64(-5), ipv4(192, 168, 1, 20), text("gr\u00fc\u00dfe"),
         b"\xde\xad\x01", port(443), items("a", "bc")],
        [text(""), int32(0), int64(1 << 40), ipv4(0, 0, 0, 0), text("x"), b"", port(65535), items()],
    ], extra=7),
    "extension_area": block([(1, 0, "only")], [[text("one")], [text("two")]],
                            extension=bytes(range(9))),
    "empty_rowset": block([], []),
    "columns_no_rows": block([(1, 0, "a"), (2, 0, "b")], []),
    "update_answer": block([], [], kind=ord("u"), extra=3),
    "other_kind_with_counts": block([], [], kind=ord("d"), counts=(3, 9)),
    "long_binary": block([(6, 0, "blob"), (1, 0, "after")], [[b"\x5a" * 300, text("z")]]),
    "long_list": block([(8, 0, "list")], [[items(*[f"item{i}" for i in range(40)])]]),
    "many_rows": block([(2, 0, "n"), (1, 0, "t")],
                       [[int32(i), text(str(i) * (i % 5))] for i in range(60)]),
    "unknown_type": block([(9, 0, "future"), (0, 0, "zero")], [[b"\x01\x02", b""]]),
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(OUT, name), "wb") as seed:
            seed.write(data)


if __name__ == "__main__":
    main()
