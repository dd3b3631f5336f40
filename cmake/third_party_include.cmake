# The header-only libraries a cross build compiles against, as one include folder of links into
# /usr/include, unless ORVALEX_THIRD_PARTY_INCLUDE names one already: the cross compilers must not
# see the host's whole /usr/include.
if(NOT ORVALEX_THIRD_PARTY_INCLUDE)
    set(folder ${PROJECT_BINARY_DIR}/third_party)
    file(MAKE_DIRECTORY ${folder})
    foreach(library IN ITEMS nlohmann fmt fast_float)
        if(NOT EXISTS /usr/include/${library})
            message(FATAL_ERROR "/usr/include/${library} is missing: run scripts/install-deps.sh")
        endif()
        file(CREATE_LINK /usr/include/${library} ${folder}/${library} SYMBOLIC)
    endforeach()
    set(ORVALEX_THIRD_PARTY_INCLUDE ${folder} CACHE PATH
        "Folder with the fmt/ and fast_float/ headers (empty: find the installed packages)" FORCE)
endif()
