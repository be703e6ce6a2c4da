#!/bin/sh
# extra_services_reg.sh COUNT > file.reg
# A registry file that registers COUNT demand-start Win32 services ZLExtraService001...
# with a display name and a description, named about as long as the services of a real
# Windows installation (so that their list needs about as much room). Imported with "regedit /S" into a prefix, they are
# listed by the Service Control Manager once the wineserver has been restarted.
set -eu
count=${1:?usage: extra_services_reg.sh COUNT}
printf 'REGEDIT4\r\n\r\n'
i=1
while [ "$i" -le "$count" ]; do
  n=$(printf '%03d' "$i")
  printf '[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\ZLExtraService%s]\r\n' "$n"
  printf '"Type"=dword:00000010\r\n"Start"=dword:00000003\r\n"ErrorControl"=dword:00000001\r\n'
  printf '"ImagePath"="C:\\\\windows\\\\system32\\\\zl_extra_%s.exe"\r\n' "$n"
  printf '"DisplayName"="ZL Extra Service %s - registered for the list tests"\r\n' "$n"
  printf '"Description"="Extra service %s, registered for the list tests and benchmarks."\r\n' "$n"
  printf '"ObjectName"="LocalSystem"\r\n\r\n'
  i=$((i + 1))
done
