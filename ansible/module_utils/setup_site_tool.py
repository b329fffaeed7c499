# Running setup-site on the managed host: the command line from the common
# parameters, the JSON it prints, and its failures as Ansible failures.
import json
import os

# Where an installation of the radar setup editor puts the tool, after PATH.
INSTALLED_TOOLS = ("/usr/bin/setup-site", "/usr/local/bin/setup-site")

COMMON_ARGUMENTS = dict(
    dir=dict(type="path"),
    mode=dict(type="str", choices=["zamo", "rda"]),
    executable=dict(type="path"),
)


def tool_path(module):
    given = module.params["executable"]
    if given:
        return given
    found = module.get_bin_path("setup-site")
    if found:
        return found
    for path in INSTALLED_TOOLS:
        if os.access(path, os.X_OK):
            return path
    module.fail_json(msg="setup-site was not found on PATH nor in " + ", ".join(INSTALLED_TOOLS))


def command(module, *words):
    """setup-site with the site, the mode and --json, then the words."""
    line = [tool_path(module)]
    if module.params["dir"]:
        line += ["-C", module.params["dir"]]
    if module.params["mode"]:
        line += ["--" + module.params["mode"]]
    return line + ["--json"] + list(words)


def run(module, words, data=None, found_is_ok=False):
    """Runs the tool; its JSON document, or a failure with its own message.

    Status 1 ("found something") is a result for check and diff; 2, 3 and 4
    (usage, refused, site unreadable) fail the task with the tool's words.
    """
    rc, out, err = module.run_command(command(module, *words), data=data, binary_data=True)
    if rc == 0 or (rc == 1 and found_is_ok):
        try:
            return json.loads(out)
        except ValueError:
            module.fail_json(msg="setup-site printed no JSON", rc=rc, stdout=out, stderr=err)
    message = err.strip() or out.strip() or "setup-site failed"
    try:
        message = json.loads(out).get("error", message)
    except (ValueError, AttributeError):
        pass
    module.fail_json(msg=message, rc=rc, stderr=err)


def area_of(path):
    """The area word of a field path, as the editor's save question has it."""
    for prefix, area in (("zel.", "ZEL"), ("dsp.", "DSP"), ("Rtdisp.", "RTDISP"), ("zamo.", "ZAMO")):
        if path.startswith(prefix):
            return area
    return ""
