#!/usr/bin/python3
# Ansible module: what a radar site's setups hold, through setup-site; writes nothing.
DOCUMENTATION = r"""
module: setup_site_info
short_description: Read values, check findings and differences of a radar site's setups
description:
  - Runs C(setup-site --json) on the managed host and writes nothing.
options:
  dir:
    description: The setup directory. Default, the one the installed editor uses.
    type: path
  mode:
    description: C(zamo) or C(rda). Default, as the tool decides.
    type: str
    choices: [zamo, rda]
  paths:
    description: Field paths whose values to return.
    type: list
    elements: str
    default: []
  baseline:
    description: A file on the managed host in setup-file syntax; differences are taken from it instead of from factory values.
    type: path
  executable:
    description: The tool. Default, C(setup-site) on PATH, else the installation's.
    type: path
"""

EXAMPLES = r"""
- name: Which radars differ from the agreed baseline
  setup_site_info:
    baseline: /srv/radar/baseline.conf
  register: site
- debug:
    msg: "{{ site.differences }}"
  when: site.differences | length > 0
"""

RETURN = r"""
settings:
  description: The value of each path asked for, as the setup file holds it (passwords masked);
    a mapping in the form the setup_site module takes.
  type: dict
findings:
  description: The values out of range (page, path, line) that the editor's check would report.
  type: list
differences:
  description: Each field that differs from factory or the baseline (path, this, other).
  type: list
"""

from ansible.module_utils.basic import AnsibleModule
from ansible.module_utils.setup_site_tool import COMMON_ARGUMENTS, run


def main():
    module = AnsibleModule(
        argument_spec=dict(
            COMMON_ARGUMENTS,
            paths=dict(type="list", elements="str", default=[]),
            baseline=dict(type="path"),
        ),
        supports_check_mode=True,
    )
    paths = module.params["paths"]
    values = run(module, ["get"] + paths)["values"] if paths else {}
    findings = run(module, ["check"], found_is_ok=True).get("findings", [])
    against = ["--against", module.params["baseline"]] if module.params["baseline"] else []
    differences = run(module, ["diff"] + against, found_is_ok=True).get("differences", [])
    module.exit_json(changed=False, settings=values, findings=findings, differences=differences)


if __name__ == "__main__":
    main()
