#!/usr/bin/env python3
"""The shape and include checkers against sources whose faults are known: every sequence of up to three
pieces of code, bare and inside a namespace, must yield exactly the functions the pieces hold; planted
includes must be refused, and only they."""
import itertools
import subprocess
import sys
import tempfile
from pathlib import Path

SCRIPTS = Path(__file__).resolve().parent.parent.parent / "scripts"
sys.path.insert(0, str(SCRIPTS))
import check_includes  # noqa: E402
import check_shape  # noqa: E402

# (code, [(function, first line, last line)]), lines counted within the piece.
PIECES = [
    ('int Plain(int a,\n          int b) {\n    const char* s = "{"; // }\n    if (a) {\n        return \'}\';\n'
     '    }\n    return b;\n}\n', [("Plain", 0, 7)]),
    ("Thing::Thing() : m_a{1},\n                 m_b(2) {\n    m_c = {3};\n}\n", [("Thing", 0, 3)]),
    ("const auto kTable = [] {\n    return 1;\n}();\n", []),
    ("struct Holder {\n    int Get() const { return m_x; }\n    Holder& operator=(const Holder&) = default;\n"
     "    int m_x{0};\n};\n", [("Get", 1, 1)]),
    ("enum class Kind { A, B };\n", []),
    ("Holder& Holder::operator=(Holder other) {\n    return *this;\n}\n", [("operator=", 0, 2)]),
    ("template <class T>\nauto Twice(T t) -> decltype(t + t) {\n    return t + t;\n}\n", [("Twice", 0, 3)]),
    ("#define OPEN {\n", []),
    ("class Widget {\npublic:\n    void Show() {\n        m_shown = true;\n    }\n\nprivate:\n"
     "    bool m_shown = false;\n};\n", [("Show", 2, 4)]),
    ('const char* kJson = R"({"a": [}])";\n/* } */\n', []),
]


def compose(pieces, wrapped):
    code, expected, line = "namespace inner {\n" if wrapped else "", [], 1 if wrapped else 0
    for text, functions in pieces:
        code += text
        expected += [(name, line + first + 1, line + last + 1) for name, first, last in functions]
        line += text.count("\n")
    return code + ("} // namespace inner\n" if wrapped else ""), expected


def check_functions_found():
    for count in range(4):
        for pieces in itertools.product(PIECES, repeat=count):
            for wrapped in (False, True):
                code, expected = compose(pieces, wrapped)
                found = check_shape.functions(code)
                assert found == expected, f"{found} != {expected} in\n{code}"


def check_limits(folder):
    def body(lines):
        return "void F() {\n" + "    ++n;\n" * (lines - 2) + "}\n"

    cases = {"ok.cpp": body(60) + "\n" * 338, "long_function.cpp": body(61), "long_file.cpp": "\n" * 401}
    for name, text in cases.items():
        (folder / name).write_text(text)
    result = subprocess.run([sys.executable, SCRIPTS / "check_shape.py", folder], capture_output=True, text=True)
    assert result.returncode == 1, result
    assert sorted(line.split(":")[0].rsplit("/", 1)[1] for line in result.stderr.splitlines()) == [
        "long_file.cpp", "long_function.cpp"], result.stderr


def check_includes_refused(folder):
    (folder / "QtWidgets").mkdir()
    (folder / "QtWidgets" / "QWidget").write_text("")
    sources = {  # file: (layer, text)
        "low/Base.h": ("low", "#include <QString>\n"),
        "low/Wrong.cpp": ("low", '#include "Base.h"\n#include "high/Top.h"\n#include <QWidget>\n#include "../high/Top.h"\n'),
        "high/Top.h": ("high", '#include "low/Base.h"\n#include <QWidget>\n'),
        "low/Interim.cpp": ("high", '#include "high/Top.h"\n'),
        "low/Stale.cpp": ("high", '#include "low/Base.h"\n'),
    }
    for name, (_, text) in sources.items():
        (folder / name).parent.mkdir(exist_ok=True)
        (folder / name).write_text(text)
    manifest = ["widgets high", "links low", "links high low"]
    manifest += [f"{layer} {folder / name}" for name, (layer, _) in sources.items()]
    manifest += [f"interim {folder / 'low/Interim.cpp'}", f"interim {folder / 'low/Stale.cpp'}"]
    faults = check_includes.check(check_includes.Layers("\n".join(manifest)), [folder], folder / "QtWidgets")
    assert [fault.split(": ", 1)[0].replace(str(folder), "") for fault in faults] == [
        "/low/Wrong.cpp:2", "/low/Wrong.cpp:3", "/low/Wrong.cpp:4", "/low/Stale.cpp"], faults


def main():
    check_functions_found()
    with tempfile.TemporaryDirectory() as shape, tempfile.TemporaryDirectory() as layers:
        check_limits(Path(shape))
        check_includes_refused(Path(layers))
    print("checkers: all cases as expected")


if __name__ == "__main__":
    main()
