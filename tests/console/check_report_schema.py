#!/usr/bin/env python3
"""Checks the published schema and every report JSON in a folder against it.

    check_report_schema.py SCHEMA FOLDER
"""
import json
import pathlib
import sys

import jsonschema


def main():
    schema = json.loads(pathlib.Path(sys.argv[1]).read_text(encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    files = sorted(pathlib.Path(sys.argv[2]).glob("*.json"))
    if not files:
        print(f"no report JSON in {sys.argv[2]}: the console tests wrote none")
        return 1
    status = 0
    for file in files:
        report = json.loads(file.read_bytes().decode("utf-8"))
        for error in validator.iter_errors(report):
            print(f"{file.name}: {'/'.join(map(str, error.absolute_path))}: {error.message}")
            status = 1
    print(f"{len(files)} report JSON files checked")
    return status


if __name__ == "__main__":
    sys.exit(main())
