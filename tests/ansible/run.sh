#!/bin/sh
# The Ansible modules run for real against two sites on this host, made by
# setup-site init, through a local connection: run.sh SOURCE_DIR BUILD_DIR
set -eu
source_dir=$1
build_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build_dir/setup-site" init "$work/a" >/dev/null
"$build_dir/setup-site" init "$work/b" >/dev/null
cat > "$work/inventory" <<INVENTORY
[sites]
site_a dir=$work/a
site_b dir=$work/b

[sites:vars]
ansible_connection=local
ansible_python_interpreter=/usr/bin/python3
INVENTORY
PATH="$build_dir:$PATH" \
ANSIBLE_LIBRARY="$source_dir/ansible/library" \
ANSIBLE_MODULE_UTILS="$source_dir/ansible/module_utils" \
ANSIBLE_LOCAL_TEMP="$work/tmp" ANSIBLE_REMOTE_TEMP="$work/tmp" \
ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 \
  ansible-playbook -i "$work/inventory" "$source_dir/tests/ansible/fleet.yml"
