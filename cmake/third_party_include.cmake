# The header-only libraries a cross build compiles against, as one include folder of links into
# /usr/include: the cross compilers must not see the host's whole /usr/include.
set(ORVALEX_THIRD_PARTY_LIBRARIES nlohmann fmt fast_float)
set(ORVALEX_THIRD_PARTY_INCLUDE ${PROJECT_BINARY_DIR}/third_party)
file(MAKE_DIRECTORY ${ORVALEX_THIRD_PARTY_INCLUDE})
foreach(library IN LISTS ORVALEX_THIRD_PARTY_LIBRARIES)
    if(NOT EXISTS /usr/include/${library})
        message(FATAL_ERROR "/usr/include/${library} is missing: run scripts/install-deps.sh")
    endif()
    file(CREATE_LINK /usr/include/${library} ${ORVALEX_THIRD_PARTY_INCLUDE}/${library} SYMBOLIC)
endforeach()
