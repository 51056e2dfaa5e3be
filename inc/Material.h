#ifndef KELVO_MATERIAL_H
#define KELVO_MATERIAL_H

#include "RGBA.h"

// The colours and shininess a surface is lit with. A plain value: surfaces keep copies.
class Material {
public:
    Material();
    Material(const Material& other) = default;
    Material& operator=(const Material& other) = default;
    virtual ~Material();

    void setColor(const RGBA& color);  // the current colour, seen where lighting is off
    void setAmbient(const RGBA& ambient);
    void setDiffuse(const RGBA& diffuse);
    void setSpecular(const RGBA& specular);
    void setEmission(const RGBA& emission);
    // x in 0..1 of OpenGL's 0..128; anything above 1 is the full 128, below 0 (or not a number) 0.
    void setShininess(float x);
    // Scales the specular colour when applied; above 1 is 1. Also the specular colour's alpha.
    void setSpecularLevel(float x);

    const RGBA& getColor() const { return color; }
    const RGBA& getAmbient() const { return ambient; }
    const RGBA& getDiffuse() const { return diffuse; }
    const RGBA& getSpecular() const { return specular; }
    const RGBA& getEmission() const { return emission; }
    float getShininess() const { return shininess; }
    float getSpecularLevel() const { return specularLevel; }

    // Sets the current colour and the front faces' material.
    void apply() const;

private:
    RGBA color;
    RGBA ambient;
    RGBA diffuse;
    RGBA specular;
    RGBA emission;
    float shininess;      // OpenGL's 0..128
    float specularLevel;  // 0..1
};

#endif
