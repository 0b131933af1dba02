#!/usr/bin/env python3
"""Checks the published schema, and every report JSON that vorlixc's report command writes on
the in-memory machine against it; documents that break the schema must be refused.

    check_report_schema.py SCHEMA SAMPLE_WRITER FOLDER
"""
import copy
import json
import pathlib
import shutil
import subprocess
import sys

import jsonschema


def broken(report):
    """Copies of a written report that the schema must refuse, each with what is wrong."""
    cases = []
    for what, change in [
        ("no lines", lambda r: r.pop("lines")),
        ("a negative count of failures", lambda r: r.update(failed=-1)),
        ("an unknown program", lambda r: r.update(program="Notepad")),
        ("a time without its offset", lambda r: r.update(time=r["time"][:19])),
        ("an unknown check", lambda r: r["lines"][0].update(check="maybe")),
        ("a field of no release", lambda r: r.update(extra=1)),
    ]:
        case = copy.deepcopy(report)
        change(case)
        cases.append((what, case))
    return cases


def main():
    schema_path, writer, folder = sys.argv[1], sys.argv[2], pathlib.Path(sys.argv[3])
    schema = json.loads(pathlib.Path(schema_path).read_text(encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    subprocess.run([writer, str(folder)], check=True)
    files = sorted(folder.glob("*.json"))
    if not files:
        print(f"no report JSON in {folder}")
        return 1
    status = 0
    for file in files:
        report = json.loads(file.read_bytes().decode("utf-8"))
        for error in validator.iter_errors(report):
            print(f"{file.name}: {'/'.join(map(str, error.absolute_path))}: {error.message}")
            status = 1
    for what, case in broken(json.loads(files[0].read_bytes().decode("utf-8"))):
        if validator.is_valid(case):
            print(f"the schema takes a report with {what}")
            status = 1
    print(f"{len(files)} report JSON files checked")
    return status


if __name__ == "__main__":
    sys.exit(main())
