#include "Bone.h"

#include <GL/gl.h>

#include "GLAttribScope.h"
#include "GLMatrixScope.h"
#include "Log.h"
#include "StaticMesh.h"
#include "StringUtil.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

int Bone::boneCount = 0;

Bone::Bone(const Vector& start, const Vector& end, Bone* parent)
    : parent(parent), end(end), pivot(start), attachedMesh(nullptr)
{
    position = start;
    name = "dummy" + ::toString(boneCount++);
    KELVO_LOG(LogLevel::debug) << "Constructor() - Setup pos: " << pivot.toString()
                 << " Child pivot: " << end.toString() << logEnd;
    if (parent)
        setParent(parent);
}

Bone::~Bone() = default;

void Bone::setParent(Bone* p)
{
    parent = p;
    if (!p)
        return;
    KELVO_LOG(LogLevel::debug) << "setParent() - Parent for \"" << name << "\" is \""
                 << p->name << "\"." << logEnd;
    // The parent draws its children at its end point, which lies at p.pivot + p.end at rest; the
    // offset from there to this bone's own start keeps its mesh (stored relative to the pivot)
    // where the model put it. Zero for a bone that starts at its parent's end.
    position = pivot - (p->pivot + p->end);
}

bool Bone::reaches(const Bone* other) const
{
    if (this == other)
        return true;
    for (const Bone* child : children)
        if (child->reaches(other))
            return true;
    return false;
}

void Bone::addChild(Bone* child)
{
    // Drawing walks the children: a bone below itself would be drawn without end.
    if (!child || child->reaches(this)) {
        KELVO_LOG(LogLevel::warning) << "addChild() - Refusing child \""
                     << (child ? child->name : std::string("<NULL>")) << "\" for \"" << name
                     << "\": it would be drawn below itself." << logEnd;
        return;
    }
    children.push_back(child);
}

void Bone::setEnd(const Vector& end)
{
    this->end = end;
}

Vector Bone::getEnd() const
{
    return end;
}

Matrix Bone::getWorldMatrix() const
{
    return worldMatrix;
}

void Bone::setAttachedMesh(StaticMesh* mesh)
{
    attachedMesh = mesh;
}

void Bone::setOrientation(const Quaternion& q)
{
    orientation = q;
}

void Bone::render(double time)
{
    if (!initialized)
        initialize();
    glMatrixMode(GL_MODELVIEW);
    const GLMatrixScope matrix;
    glTranslatef(position.x, position.y, position.z);
    orientation.glMultMatrix();
    float modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    worldMatrix = Matrix(modelview);

    if (attachedMesh)
        attachedMesh->render(time);

    {
        // The skeleton shows as white lines, unlit and untextured; the switches go back to what
        // the scene had, so an unlit scene stays unlit for what is drawn after the bone.
        const GLAttribScope attributes(GL_ENABLE_BIT | GL_CURRENT_BIT);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);
        glColor3f(1.0f, 1.0f, 1.0f);
        glBegin(GL_LINES);
        glVertex3f(0.0f, 0.0f, 0.0f);
        glVertex3f(end.x, end.y, end.z);
        glEnd();
    }

    glTranslatef(end.x, end.y, end.z);
    for (Bone* child : children)
        child->render(time);
}

void Bone::printHierarchy(int depth) const
{
    std::string line(static_cast<std::string::size_type>(depth > 0 ? 2 * depth : 0), ' ');
    if (depth > 0)
        line += "+";
    KELVO_LOG(LogLevel::info) << line << name << logEnd;
    for (const Bone* child : children)
        child->printHierarchy(depth + 1);
}
