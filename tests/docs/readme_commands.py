#!/usr/bin/env python3
"""README's commands still work: every command that README.md and the documents in docs/ show (in their
shell blocks and in their text) is checked against the tree and the build. A make target must exist, a ctest name or label must select
tests, a test program must exist and its filter select tests, an end-to-end case must exist, a script or
CMake file must be there.

Usage: readme_commands.py --source <source folder> --build <build folder>
Exit status 0 when every command checks out, 1 otherwise.
"""

import argparse
import fnmatch
import os
import re
import shlex
import subprocess
import sys

# How an inline `command` of the text starts (paths such as `build/Ini/Tovik.ini` are no commands).
COMMAND_START = ("make ", "ctest ", "cmake ", "./build/", "scripts/", "./scripts/", "tests/e2e/run.py",
                 "python3 tests/e2e/run.py")


def commands(readme):
    """(line number, command) for each command of a sh block and each inline `command` in the text."""
    found = []
    block = None
    for number, line in enumerate(readme.splitlines(), 1):
        fence = re.match(r"^\s*```(\w*)", line)
        if fence:
            block = fence.group(1) if block is None else None
            continue
        if block == "sh":
            text = line.split(" #", 1)[0].strip()
            if text:
                found.append((number, text))
        elif block is None:
            for span in re.findall(r"`([^`]+)`", line):
                if span.startswith(COMMAND_START):
                    found.append((number, span))
    return found


class Checker:
    def __init__(self, source, build):
        self.source, self.build = source, build
        self._tests = self._labels = None

    def run(self, *args):
        return subprocess.run(list(args), capture_output=True, text=True, cwd=self.source)

    def make_targets(self):
        with open(os.path.join(self.source, "Makefile")) as f:
            text = f.read()
        targets = set(re.findall(r"^([A-Za-z][\w-]*)\s*:(?!=)", text, re.M))
        for phony in re.findall(r"^\.PHONY:((?:.*\\\n)*.*)$", text, re.M):
            targets |= set(phony.replace("\\\n", " ").split())
        return targets

    def tests(self):
        if self._tests is None:
            out = self.run("ctest", "--test-dir", self.build, "-N").stdout
            self._tests = re.findall(r"^\s*Test\s+#\d+: (\S+)", out, re.M)
        return self._tests

    def labels(self):
        if self._labels is None:
            out = self.run("ctest", "--test-dir", self.build, "--print-labels").stdout
            self._labels = [line.strip() for line in out.splitlines() if line.startswith("  ")]
        return self._labels

    def path(self, word):
        """A path as the README writes it (from the source folder; build/ is the build folder)."""
        word = word[2:] if word.startswith("./") else word
        if word == "build" or word.startswith("build/"):
            return os.path.join(self.build, word[len("build/"):]) if "/" in word else self.build
        return os.path.join(self.source, word)

    def check(self, command):
        """What is wrong with the command, or None."""
        words = shlex.split(command)
        while words and re.match(r"^[A-Z_]+=", words[0]):
            words.pop(0)  # VAR=value before the command
        first = words[0]
        if first == "make":
            unknown = [w for w in words[1:] if "=" not in w and w not in self.make_targets()]
            return f"no make target {', '.join(unknown)}" if unknown else None
        if first == "ctest":
            problems = []
            for option, value in zip(words, words[1:]):
                if option == "-R" and not any(re.search(value, t) for t in self.tests()):
                    problems.append(f"-R {value} matches no test")
                if option == "-L" and not any(re.search(value, label) for label in self.labels()):
                    problems.append(f"-L {value} matches no label ({', '.join(self.labels())})")
            return "; ".join(problems) or None
        if first == "cmake":
            for option, value in zip(words, words[1:]):
                if option == "-P" and not os.path.isfile(self.path(value)):
                    return f"no script {value}"
                build_cache = os.path.join(self.path(value), "CMakeCache.txt")
                if option == "--install" and not os.path.isfile(build_cache):
                    return f"{value} is no configured build folder"
            return None
        if first.endswith("run.py") or (first == "python3" and words[1:2] and words[1].endswith("run.py")):
            return self.check_e2e(words[words.index(next(w for w in words if w.endswith("run.py"))):])
        program = self.path(first)
        if not os.access(program, os.X_OK):
            return f"{first} does not exist or cannot run"
        filters = [w.split("=", 1)[1] for w in words if w.startswith("--gtest_filter=")]
        if filters:
            listed = self.run(program, "--gtest_list_tests", f"--gtest_filter={filters[0]}").stdout
            if not re.search(r"^  \S", listed, re.M):
                return f"--gtest_filter={filters[0]} selects no test of {first}"
        return None

    def check_e2e(self, words):
        listed = self.run(sys.executable, self.path(words[0]), "list")
        if listed.returncode != 0:
            return f"{words[0]} list failed: {listed.stderr.strip()}"
        names = [line.split()[0] for line in listed.stdout.splitlines() if line.strip()]
        options_with_value = {"--program", "--exe", "--helper", "--build", "--source", "--out"}
        rest, skip = [], False
        for w in words[1:]:
            if skip:
                skip = False
            elif w in options_with_value:
                skip = True
            else:
                rest.append(w)
        wrong = [w for w in rest if w not in ("all", "list", "ctest") and not fnmatch.filter(names, w)]
        return f"no end-to-end case {', '.join(wrong)}" if wrong else None


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--source", required=True)
    parser.add_argument("--build", required=True)
    args = parser.parse_args()
    documents = ["README.md"] + sorted(os.path.join("docs", name) for name in os.listdir(
        os.path.join(args.source, "docs")) if name.endswith(".md"))
    checker = Checker(os.path.abspath(args.source), os.path.abspath(args.build))
    failed = 0
    for document in documents:
        with open(os.path.join(args.source, document), encoding="utf-8") as f:
            found = commands(f.read())
        if document == "README.md" and not found:
            print("FAIL no commands found in README.md")
            return 1
        for number, command in found:
            problem = checker.check(command)
            print(f"{'FAIL' if problem else 'ok  '} {document}:{number}: {command}"
                  + (f": {problem}" if problem else ""))
            failed += bool(problem)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
