# The application's title, which the windows, the message boxes, the page, the manual page and the package
# show. The session hands it to both front ends (session/AppText.h); a build of the session gets it through
# vorn_app_title(), which the main project and the fuzz and Windows projects call alike.
set(VORN_APP_TITLE "VORN Build Calculator")

function(vorn_app_title target)
    target_compile_definitions(${target} PRIVATE "VORN_APP_TITLE=\"${VORN_APP_TITLE}\"")
endfunction()
