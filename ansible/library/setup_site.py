#!/usr/bin/python3
# Ansible module: values of a radar site's setups, stored through setup-site.
DOCUMENTATION = r"""
module: setup_site
short_description: Set values of a radar site's setups through setup-site
description:
  - Runs C(setup-site --json apply) on the managed host, so that every value
    is validated, clamped and saved as the setup editor itself would: all
    lines are checked before anything is written, the areas concerned are
    saved atomically with one change-log entry, and nothing is written or
    logged when nothing would change.
  - Saving needs an operator of the site (a user named in its C(operators)
    file): use C(become) and C(become_user) to one.
  - Passwords are masked in the results and diffs. Tasks that carry a
    password in their parameters should still set C(no_log: true).
options:
  dir:
    description: The setup directory. Default, the one the installed editor uses.
    type: path
  mode:
    description: C(zamo) (full mode) or C(rda) (processor-only). Default, as the tool decides.
    type: str
    choices: [zamo, rda]
  settings:
    description:
      - A mapping of field paths to values, stored as C(apply) stores them.
      - Write plain values; texts are quoted into setup-file syntax, and
        booleans become 1 and 0.
    type: dict
  typed:
    description: Take the values as typed into the editor's fields (a choice by its label, a number with its unit).
    type: bool
    default: false
  src:
    description: A file on the managed host in setup-file syntax (C(PATH = VALUE) lines), instead of C(settings).
    type: path
  executable:
    description: The tool. Default, C(setup-site) on PATH, else the installation's.
    type: path
"""

EXAMPLES = r"""
- name: Antenna height and main serial device on every radar
  setup_site:
    dir: /etc/zamo/config
    settings:
      zel.irad_hgt: 25
      zel.sDevice1: /dev/ttyS1
      zel.lAntAvailable: true
  become: true
  become_user: radarop

- name: A password, kept out of the logs
  setup_site:
    settings:
      zamo.device.def[1].dsi.network.sPassword: "{{ vault_archive_password }}"
  no_log: true
  become: true
  become_user: radarop
"""

RETURN = r"""
changed:
  description: Whether the site's setup files were (or, in check mode, would be) changed.
  type: bool
changes:
  description: Each field that changed, with its value before and after as the setup file holds it, and its area.
  type: list
  elements: dict
  sample: [{"path": "zel.irad_hgt", "before": 20, "after": 25, "area": "ZEL"}]
notes:
  description: What was stored otherwise than given (clamped to a limit, rounded), as the tool says it.
  type: list
"""

from ansible.module_utils.basic import AnsibleModule
from ansible.module_utils.setup_site_tool import COMMON_ARGUMENTS, area_of, run


def setup_file_text(value):
    """A text in setup-file syntax: quoted, with C escapes."""
    out = '"'
    for c in value:
        if c in '"\\':
            out += "\\" + c
        elif c == "\n":
            out += "\\n"
        elif c == "\t":
            out += "\\t"
        elif ord(c) < 0x20 or ord(c) == 0x7F:
            out += "\\x%02X" % ord(c)
        else:
            out += c
    return out + '"'


def setting_lines(module):
    """The settings as apply's input: texts found by asking the tool for the
    fields' current values, which come back as JSON strings for texts."""
    settings = module.params["settings"]
    typed = module.params["typed"]
    current = run(module, ["get"] + list(settings))["values"] if settings else {}
    lines = []
    for path, value in settings.items():
        if isinstance(value, bool):
            value = "1" if value else "0"
        elif isinstance(current.get(path), str) and not typed:
            value = setup_file_text(str(value))
        else:
            value = str(value)
        if "\n" in value:
            module.fail_json(msg="the value of %s holds a line break" % path)
        lines.append("%s = %s\n" % (path, value))
    return "".join(lines)


def main():
    module = AnsibleModule(
        argument_spec=dict(
            COMMON_ARGUMENTS,
            settings=dict(type="dict"),
            typed=dict(type="bool", default=False),
            src=dict(type="path"),
        ),
        mutually_exclusive=[["settings", "src"]],
        required_one_of=[["settings", "src"]],
        supports_check_mode=True,
    )
    words = ["apply"]
    if module.check_mode:
        words.insert(0, "--dry-run")
    if module.params["typed"]:
        words.append("--typed")
    if module.params["src"]:
        result = run(module, words + [module.params["src"]])
    else:
        result = run(module, words + ["-"], data=setting_lines(module))
    changes = [
        dict(path=c["path"], before=c["old"], after=c["new"], area=area_of(c["path"]))
        for c in result.get("changes", [])
    ]
    output = dict(changed=bool(result.get("changed")), changes=changes, notes=result.get("notes", []))
    if module._diff:
        output["diff"] = dict(
            before="".join("%s = %s\n" % (c["path"], c["before"]) for c in changes),
            after="".join("%s = %s\n" % (c["path"], c["after"]) for c in changes),
        )
    module.exit_json(**output)


if __name__ == "__main__":
    main()
