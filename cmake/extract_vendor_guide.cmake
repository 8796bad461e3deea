# Writes the README's part for host vendors (from "## For host vendors" up to the next
# second-level heading) to OUTPUT, so that the guide in the release never drifts from it.
#   cmake -DREADME=... -DOUTPUT=... -P extract_vendor_guide.cmake
file(READ ${README} readme)
string(FIND "${readme}" "\n## For host vendors\n" begin)
if(begin EQUAL -1)
  message(FATAL_ERROR "${README} has no \"## For host vendors\" part")
endif()
math(EXPR begin "${begin} + 1")
string(SUBSTRING "${readme}" ${begin} -1 guide)
string(FIND "${guide}" "\n## " end)
if(NOT end EQUAL -1)
  string(SUBSTRING "${guide}" 0 ${end} guide)
endif()
string(STRIP "${guide}" guide)
file(WRITE ${OUTPUT} "# ZuLauncher: the guide for host vendors\n\n${guide}\n")
