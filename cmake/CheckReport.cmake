# The report every source check ends with: each problem on its own line under the check's tag,
# then a failure naming the count, unless REPORT_ONLY is set (the check's own tests read the lines).
#   report_problems(<tag> <what the count is of> <problem>...)
function(report_problems tag what)
    list(LENGTH ARGN count)
    foreach(p IN LISTS ARGN)
        message(STATUS "${tag}: ${p}")
    endforeach()
    if(count GREATER 0 AND NOT REPORT_ONLY)
        message(FATAL_ERROR "${tag}: ${count} ${what}")
    endif()
    message(STATUS "${tag}: ${count} problem(s)")
endfunction()
