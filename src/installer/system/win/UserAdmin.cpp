#include "installer/system/win/UserAdmin.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace {

std::optional<bool> fixedAnswer;

class Handle {
public:
    ~Handle()
    {
        if (h)
            CloseHandle(h);
    }
    HANDLE h = nullptr;
};

class Sid {
public:
    ~Sid()
    {
        if (sid)
            FreeSid(sid);
    }
    PSID sid = nullptr;
};

bool openToken(Handle& token)
{
    if (OpenThreadToken(GetCurrentThread(), TOKEN_DUPLICATE | TOKEN_QUERY, TRUE, &token.h))
        return true;
    return GetLastError() == ERROR_NO_TOKEN && OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, &token.h);
}

bool accessCheckAsAdministrators(HANDLE impersonation, PSID administrators)
{
    const DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(administrators) - sizeof(DWORD);
    std::vector<std::uint8_t> aclBytes(aclSize, 0);
    auto* acl = reinterpret_cast<PACL>(aclBytes.data());
    SECURITY_DESCRIPTOR descriptor;
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !InitializeAcl(acl, aclSize, ACL_REVISION2) || !AddAccessAllowedAce(acl, ACL_REVISION2, 3, administrators) ||
        !SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) ||
        !SetSecurityDescriptorGroup(&descriptor, administrators, FALSE) ||
        !SetSecurityDescriptorOwner(&descriptor, administrators, FALSE) || !IsValidSecurityDescriptor(&descriptor))
        return false;
    GENERIC_MAPPING mapping{1, 2, 0, 3};
    PRIVILEGE_SET privileges{};
    DWORD privilegesSize = sizeof privileges;
    DWORD granted = 0;
    BOOL status = FALSE;
    if (!AccessCheck(&descriptor, impersonation, 1, &mapping, &privileges, &privilegesSize, &granted, &status))
        return false;
    return status != FALSE;
}

} // namespace

void setUserAdminAnswer(std::optional<bool> answer)
{
    fixedAnswer = answer;
}

bool isUserAdmin()
{
    if (fixedAnswer)
        return *fixedAnswer;
    if (GetVersion() & 0x80000000u)
        return true;
    Handle token;
    if (!openToken(token))
        return false;
    Handle impersonation;
    if (!DuplicateToken(token.h, SecurityImpersonation, &impersonation.h))
        return false;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    Sid administrators;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &administrators.sid))
        return false;
    return accessCheckAsAdministrators(impersonation.h, administrators.sid);
}
